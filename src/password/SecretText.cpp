#include "password/SecretText.h"

#include "platform/Memory.h"

namespace hc {

namespace {
// Zeroes a string's whole buffer, the characters past its end included, and empties it.
void WipeString(std::wstring& text) noexcept {
    memory::Wipe(text.data(), (text.capacity() + 1) * sizeof(wchar_t));
    text.clear();
}
}  // namespace

SecretText::SecretText(std::wstring&& text) noexcept {
    // A swap moves a long text's buffer without a copy; a short one is copied, and the source wiped below.
    text_.swap(text);
    WipeString(text);
}

SecretText::SecretText(SecretText&& other) noexcept {
    text_.swap(other.text_);
    other.Wipe();
}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
    if (this != &other) {
        Wipe();
        text_.swap(other.text_);
        other.Wipe();
    }
    return *this;
}

void SecretText::Wipe() noexcept { WipeString(text_); }

SecretText SecretWindowText(HWND window) {
    SecretText secret;
    std::wstring& text = secret.Buffer();
    text.resize(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return secret;
}

}  // namespace hc
