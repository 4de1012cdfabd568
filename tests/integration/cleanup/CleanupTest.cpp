#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "CleanupSupport.h"
#include "LocalHttpServer.h"
#include "TestSupport.h"
#include "cleanup/CleanupOperations.h"
#include "platform/Audio.h"
#include "platform/Files.h"
#include "platform/RecycleBin.h"
#include "platform/UrlHistory.h"

namespace hc {
namespace {

using hctest::NamesIn;

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Fetches a URL through WinINet, which keeps the answer in the URL cache as a browser's download would.
bool Download(const std::wstring& url) {
    HINTERNET session = InternetOpenW(L"hc-test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!session) return false;
    HINTERNET request = InternetOpenUrlW(session, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    bool ok = request != nullptr;
    char buffer[512];
    DWORD got = 0;
    while (ok && InternetReadFile(request, buffer, sizeof(buffer), &got) && got > 0) {
    }
    if (request) InternetCloseHandle(request);
    InternetCloseHandle(session);
    return ok;
}

bool InCache(const std::wstring& url) {
    DWORD size = 0;
    if (GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size)) return true;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// Wine keeps an endpoint's mute in the interface object itself, so a mute reads back only through the object
// that set it: the steps get the test's own endpoint.
class SharedEndpoint final : public AudioOutputs {
public:
    class Control final : public MuteControl {
    public:
        explicit Control(MuteControl& endpoint) : endpoint_(endpoint) {}
        std::optional<bool> IsMuted() override { return endpoint_.IsMuted(); }
        bool SetMuted(bool muted) override { return endpoint_.SetMuted(muted); }

    private:
        MuteControl& endpoint_;
    };
    std::unique_ptr<MuteControl> OpenDefaultOutput() override {
        return endpoint ? std::make_unique<Control>(*endpoint) : nullptr;
    }
    std::unique_ptr<MuteControl> endpoint;
};

// A DWORD under HKEY_CURRENT_USER for the life of the object, as the shell's settings or a policy set it.
class ScopedUserSwitch {
public:
    ScopedUserSwitch(std::wstring path, const wchar_t* name) : path_(std::move(path)), name_(name) {
        const DWORD one = 1;
        RegSetKeyValueW(HKEY_CURRENT_USER, path_.c_str(), name_, REG_DWORD, &one, sizeof(one));
    }
    ~ScopedUserSwitch() { RegDeleteKeyValueW(HKEY_CURRENT_USER, path_.c_str(), name_); }
    ScopedUserSwitch(const ScopedUserSwitch&) = delete;
    ScopedUserSwitch& operator=(const ScopedUserSwitch&) = delete;

private:
    std::wstring path_;
    const wchar_t* name_;
};

// "Don't move files to the Recycle Bin" for the volume that holds the path, where the shell keeps it.
std::wstring VolumeBinSettings(const std::wstring& path) {
    wchar_t root[MAX_PATH] = {}, volume[64] = {};
    if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH) || !GetVolumeNameForVolumeMountPointW(root, volume, 64))
        return L"";
    std::wstring guid = volume;
    guid = guid.substr(guid.find(L'{'), guid.find(L'}') - guid.find(L'{') + 1);
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\" + guid;
}

class CleanupTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring why = hctest::WhyNotPrivateSandbox();
        if (!why.empty()) GTEST_SKIP() << "these steps delete files: " << std::string(why.begin(), why.end());
        hctest::ClearTrash();
        recent_ = files::RecentDocumentsFolder();
        ASSERT_FALSE(recent_.empty());
        ASSERT_TRUE(server_.IsListening());
        // Core Audio exists under Wine (as on every current Windows), so the mixer is not the path taken.
        audio::CoreAudio outcome = audio::CoreAudio::Unavailable;
        audio_.endpoint = audio::OpenDefaultEndpoint(outcome);
        ASSERT_EQ(outcome, audio::CoreAudio::Opened) << "the test scripts give Wine a null sound device";
        endpoint_ = audio_.endpoint.get();
        ASSERT_TRUE(endpoint_->SetMuted(false));
    }

    void Tick(bool mute, bool recycle, bool temp, bool history, bool recentDocuments) {
        settings_.cbMuteAudio = mute;
        settings_.cbRecycle = recycle;
        settings_.cbClearTemp = temp;
        settings_.cbHistory = history;
        settings_.cbRecent = recentDocuments;
    }

    // A file put into the Recycle Bin as a deletion with undo puts it there.
    std::wstring BinSomething(const std::wstring& name) {
        const std::wstring path = hctest::MakeTempFolder(L"hc_bin") + L"\\" + name;
        EXPECT_TRUE(hctest::WriteTextFile(path, "old"));
        EXPECT_TRUE(recyclebin::MoveToRecycleBin({path}));
        EXPECT_TRUE(Contains(NamesIn(hctest::TrashFilesFolder()), name));
        return path;
    }

    std::wstring CacheSomething(const std::string& path) {
        server_.Serve(path, {200, "body { color: black }", "text/css"});
        const std::wstring url = server_.Url(path);
        EXPECT_TRUE(Download(url));
        EXPECT_TRUE(InCache(url)) << "the download did not reach the cache";
        return url;
    }

    hctest::ComApartment com_;
    hctest::LocalHttpServer server_;
    std::wstring recent_;
    Settings settings_;
    SharedEndpoint audio_;
    MuteControl* endpoint_ = nullptr;
    SystemCleanupServices services_;
    CleanupOperations cleanup_{settings_, audio_, services_};
};

TEST_F(CleanupTest, MuteAndUnmuteReadBackThroughTheSameInterface) {
    Tick(true, false, false, false, false);
    cleanup_.DoOptions();
    EXPECT_EQ(endpoint_->IsMuted(), true);
    cleanup_.SetAudioMute(false);
    EXPECT_EQ(endpoint_->IsMuted(), false);
}

// The path for systems without Core Audio; Wine has both.
TEST_F(CleanupTest, TheMixerPathMutesTheSpeakersLineAndReadsItBack) {
    auto speakers = audio::OpenMixerSpeakers();
    ASSERT_TRUE(speakers);
    const auto before = speakers->IsMuted();
    ASSERT_TRUE(before.has_value());
    EXPECT_TRUE(speakers->SetMuted(true));
    EXPECT_EQ(speakers->IsMuted(), true);
    EXPECT_TRUE(speakers->SetMuted(false));
    EXPECT_EQ(speakers->IsMuted(), false);
    speakers->SetMuted(*before);
}

TEST_F(CleanupTest, AUserMutedBeforeThePanicIsStillMutedAfterTheRestore) {
    ASSERT_TRUE(endpoint_->SetMuted(true));
    Tick(true, false, false, false, false);
    cleanup_.DoOptions();
    cleanup_.SetAudioMute(false);
    EXPECT_EQ(endpoint_->IsMuted(), true);
}

TEST_F(CleanupTest, TheRecycleBinStepEmptiesTheBin) {
    BinSomething(L"old draft.txt");
    Tick(false, true, false, false, false);
    cleanup_.DoOptions();
    EXPECT_TRUE(NamesIn(hctest::TrashFilesFolder()).empty());
}

TEST_F(CleanupTest, TheCacheStepRemovesWhatDownloadsFromALocalServerLeft) {
    const std::wstring page = CacheSomething("/page.css");
    const std::wstring other = CacheSomething("/other.css");
    Tick(false, false, true, false, false);
    cleanup_.DoOptions();
    EXPECT_FALSE(InCache(page));
    EXPECT_FALSE(InCache(other));
}

// Wine's history store answers E_NOTIMPL; the Recycle Bin is emptied before the recent documents go into it.
TEST_F(CleanupTest, RecentDocumentsEndInTheRecycleBinAndStayThereThoughTheHistoryStoreFails) {
    EXPECT_EQ(urlhistory::ClearAll(), E_NOTIMPL);
    ASSERT_TRUE(hctest::WriteTextFile(recent_ + L"\\letter.lnk", "link"));
    ASSERT_TRUE(CreateDirectoryW((recent_ + L"\\Projects").c_str(), nullptr));
    ASSERT_TRUE(hctest::WriteTextFile(recent_ + L"\\Projects\\plan.lnk", "link"));
    BinSomething(L"older.txt");
    Tick(false, true, false, true, true);
    EXPECT_NO_THROW(cleanup_.DoOptions());
    EXPECT_TRUE(NamesIn(recent_).empty());
    EXPECT_EQ(NamesIn(hctest::TrashFilesFolder()), (std::vector<std::wstring>{L"Projects", L"letter.lnk"}));
    EXPECT_TRUE(hctest::PathExists(hctest::TrashFilesFolder() + L"\\Projects\\plan.lnk"));
    hctest::ClearTrash();
}

// Without a bin the shell would delete the recent documents for good: they stay, and the steps before still ran.
TEST_F(CleanupTest, WhereDeletionsGoToNoRecycleBinTheRecentDocumentsStayAndTheOtherStepsStillRun) {
    EXPECT_TRUE(recyclebin::RecyclesDeletionsAt(recent_));
    EXPECT_FALSE(recyclebin::RecyclesDeletionsAt(L"\\\\server\\share\\Recent"));
    const std::wstring volumeSettings = VolumeBinSettings(recent_);
    ASSERT_FALSE(volumeSettings.empty());
    ASSERT_TRUE(hctest::WriteTextFile(recent_ + L"\\letter.lnk", "link"));
    Tick(false, true, true, false, true);
    for (const auto& [path, name] :
         {std::pair{volumeSettings, L"NukeOnDelete"},
          std::pair{std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer"),
                    L"NoRecycleFiles"}}) {
        const ScopedUserSwitch deleteAtOnce(path, name);
        EXPECT_FALSE(recyclebin::RecyclesDeletionsAt(recent_)) << std::string(name, name + wcslen(name));
        BinSomething(L"older.txt");
        const std::wstring url = CacheSomething("/before.css");
        cleanup_.DoOptions();
        EXPECT_EQ(NamesIn(recent_), (std::vector<std::wstring>{L"letter.lnk"}));
        EXPECT_TRUE(NamesIn(hctest::TrashFilesFolder()).empty());
        EXPECT_FALSE(InCache(url));
    }
    cleanup_.DoOptions();
    EXPECT_TRUE(NamesIn(recent_).empty());
    hctest::ClearTrash();
}

TEST_F(CleanupTest, NothingTickedLeavesBinCacheRecentAndSoundAlone) {
    BinSomething(L"kept.txt");
    const std::wstring url = CacheSomething("/kept.css");
    ASSERT_TRUE(hctest::WriteTextFile(recent_ + L"\\kept.lnk", "link"));
    Tick(false, false, false, false, false);
    cleanup_.DoOptions();
    EXPECT_TRUE(Contains(NamesIn(hctest::TrashFilesFolder()), L"kept.txt"));
    EXPECT_TRUE(InCache(url));
    EXPECT_TRUE(hctest::PathExists(recent_ + L"\\kept.lnk"));
    EXPECT_EQ(endpoint_->IsMuted(), false);
    DeleteFileW((recent_ + L"\\kept.lnk").c_str());
    hctest::ClearTrash();
}

}  // namespace
}  // namespace hc
