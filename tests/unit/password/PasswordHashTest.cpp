#include <gtest/gtest.h>

#include "password/PasswordHash.h"
#include "password/SecretText.h"

namespace hc {
namespace {

// Few iterations keep the tests quick; the format and the checks do not depend on the count.
constexpr std::uint32_t kFewIterations = 1000;

std::wstring StoredWithFewIterations(std::wstring_view password) {
    const auto hash = HashPassword(password, crypto::Bytes(kPasswordSaltBytes, 0x5A), kFewIterations);
    return hash ? FormatPasswordHash(*hash) : L"";
}

TEST(PasswordHash, ANewStoredPasswordDescribesItselfAndMatchesOnlyTheExactText) {
    const auto stored = MakeStoredPassword(L"Tr\u00e4ume 7!");
    ASSERT_TRUE(stored);
    const auto parsed = ParsePasswordHash(*stored);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(stored->starts_with(kPasswordHashPrefix));
    EXPECT_EQ(parsed->iterations, 600000u);  // OWASP's guidance for PBKDF2-HMAC-SHA256
    EXPECT_FALSE(NeedsNewHash(*stored));
    EXPECT_EQ(parsed->salt.size(), kPasswordSaltBytes);
    EXPECT_EQ(parsed->hash.size(), kPasswordHashBytes);
    EXPECT_EQ(FormatPasswordHash(*parsed), *stored);
    EXPECT_EQ(stored->find(L"Tr\u00e4ume"), std::wstring::npos);
    EXPECT_FALSE(IsPlainStoredPassword(*stored));

    EXPECT_TRUE(PasswordMatches(*stored, L"Tr\u00e4ume 7!"));
    for (const wchar_t* other : {L"tr\u00e4ume 7!", L"Tr\u00e4ume 7! ", L"Traume 7!", L""})
        EXPECT_FALSE(PasswordMatches(*stored, other)) << other;
    // A fresh salt each time: the same password never gives the same text twice.
    EXPECT_NE(MakeStoredPassword(L"Tr\u00e4ume 7!"), stored);
}

TEST(PasswordHash, ATamperedSaltHashOrCountFails) {
    const std::wstring stored = StoredWithFewIterations(L"letmein");
    ASSERT_TRUE(PasswordMatches(stored, L"letmein"));
    const size_t saltAt = stored.find(L'$', std::wstring_view(kPasswordHashPrefix).size()) + 1;
    for (size_t at : {saltAt, stored.size() - 1}) {
        std::wstring tampered = stored;
        tampered[at] = tampered[at] == L'0' ? L'1' : L'0';
        EXPECT_TRUE(ParsePasswordHash(tampered));
        EXPECT_FALSE(PasswordMatches(tampered, L"letmein")) << tampered;
    }
    std::wstring recounted = stored;
    recounted.replace(std::wstring_view(kPasswordHashPrefix).size(), 4, L"1001");
    EXPECT_FALSE(PasswordMatches(recounted, L"letmein"));
}

TEST(PasswordHash, AnythingNotInTheHashedFormIsAnOldPlainPasswordComparedExactly) {
    const std::wstring stored = StoredWithFewIterations(L"x");
    const std::wstring afterPrefix = stored.substr(std::wstring_view(kPasswordHashPrefix).size());
    for (const std::wstring& plain :
         {std::wstring(L"Secret"), L"SHA1$" + afterPrefix, L"pbkdf2-sha256$" + afterPrefix, stored + L"0",
          stored.substr(0, stored.size() - 1), std::wstring(kPasswordHashPrefix) + L"0100$" + afterPrefix.substr(5),
          std::wstring(kPasswordHashPrefix) + L"99999999$" + afterPrefix.substr(5)}) {
        EXPECT_TRUE(IsPlainStoredPassword(plain)) << plain;
        EXPECT_TRUE(NeedsNewHash(plain)) << plain;
        EXPECT_TRUE(PasswordMatches(plain, plain)) << plain;
        EXPECT_FALSE(PasswordMatches(plain, plain + L" ")) << plain;
    }
    EXPECT_FALSE(PasswordMatches(L"Secret", L"secret"));
    // No password set: nothing is accepted, an empty entry neither.
    EXPECT_FALSE(PasswordMatches(L"", L"a"));
    EXPECT_FALSE(PasswordMatches(L"", L""));
    // A hash with fewer iterations than today's still verifies, and asks to be made anew.
    EXPECT_TRUE(PasswordMatches(stored, L"x"));
    EXPECT_TRUE(NeedsNewHash(stored));
}

TEST(ConstantTimeEquals, FindsADifferenceAtEveryPositionOfEqualLengthInputs) {
    const std::vector<std::uint8_t> a(64, 0xA5);
    EXPECT_TRUE(ConstantTimeEquals(a, a));
    for (size_t at = 0; at < a.size(); ++at)
        for (std::uint8_t bit = 1; bit; bit = static_cast<std::uint8_t>(bit << 1)) {
            auto b = a;
            b[at] ^= bit;
            EXPECT_FALSE(ConstantTimeEquals(a, b)) << at << " " << int(bit);
        }
    EXPECT_FALSE(ConstantTimeEquals(a, std::vector<std::uint8_t>(63, 0xA5)));
    EXPECT_TRUE(ConstantTimeEquals(std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{}));
}

TEST(SecretText, ZeroesEveryCharacterItHeldWhenWipedAndWhenMovedFrom) {
    for (const std::wstring& text : {std::wstring(L"abc"), std::wstring(300, L'k')}) {
        SecretText secret(text);
        const wchar_t* buffer = secret.View().data();
        const std::wstring_view held(buffer, text.size());
        secret.Wipe();
        EXPECT_TRUE(secret.empty());
        // The buffer stays the object's own after a wipe, so it may be read here.
        EXPECT_EQ(held.find_first_not_of(L'\0'), std::wstring_view::npos) << text.size();

        SecretText from(text);
        const wchar_t* fromBuffer = from.View().data();
        SecretText to(std::move(from));
        EXPECT_EQ(to.View(), text);
        if (fromBuffer != to.View().data()) {  // a short text was copied: the source's own buffer is zeroed
            EXPECT_EQ(std::wstring_view(fromBuffer, text.size()).find_first_not_of(L'\0'), std::wstring_view::npos);
        }
        std::wstring plain = text;
        const SecretText taken(std::move(plain));
        EXPECT_EQ(taken.View(), text);
        EXPECT_TRUE(plain.empty());
    }
}

}  // namespace
}  // namespace hc
