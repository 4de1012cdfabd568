#pragma once
#include <functional>
#include <optional>
#include <string>

#include "engine/VisibleWindowList.h"
#include "mainwindow/Page.h"
#include "platform/Shell.h"
#include "settings/Settings.h"
#include "ui/Views.h"

namespace hc {

class WindowEngine;

// Page 0: the clean-up switches, the password, the Panic Button's look and the theme.
class OptionsPage final : public Page {
public:
    // passwordTicked: whether "Require passwords to unhide windows", just ticked, may stay so.
    OptionsPage(Settings& settings, std::function<void()> PassBtnClick, std::function<bool()> passwordTicked,
                std::function<void(const std::wstring&)> cbxVclStylesChange);
    // The Panic Button, once it exists; its showing and hiding keep the Show/Hide caption current.
    void SetPanicButton(PanicButtonView* panic);
    void Refresh() override;

protected:
    std::span<const ControlRow> Controls() const override;
    void OnCreated() override;
    void OnCommand(int id, int code) override;
    void OnScroll(HWND control) override;

private:
    void ShowPanicState(bool shown);

    Settings& settings_;
    std::function<void()> passBtnClick_;
    std::function<bool()> passwordTicked_;
    std::function<void(const std::wstring&)> themeChosen_;
    PanicButtonView* panic_ = nullptr;
};

// Page 1: the visible windows of other programs, with their icons.
class VisiblePage final : public Page {
public:
    VisiblePage(WindowEngine& engine, Settings& settings) : engine_(engine), settings_(settings) {}
    // Shows what the engine's list holds now.
    void Fill();
    void OnShown() override;
    void OnThemeChanged() override { Fill(); }

protected:
    std::span<const ControlRow> Controls() const override;
    void OnCreated() override;
    void OnContextMenu(HWND control, POINT at) override;
    void LaidOut(UINT dpi) override;

private:
    void Hideselectedwindow1Click();
    void Refresh1Click();
    void KeepVisible1Click();
    // The listed window's program, when a row is selected and its path is known; empty otherwise.
    std::wstring SelectedProgram() const;

    WindowEngine& engine_;
    Settings& settings_;
    // Fetched here when the list is shown, never on the panic path.
    ShellIconSource iconSource_;
    ProgramIcons icons_{iconSource_};
};

// Page 2: the windows the program has hidden.
class HiddenPage final : public Page {
public:
    // mayShow is asked before any hidden window is shown from the page.
    HiddenPage(WindowEngine& engine, std::function<bool()> mayShow) : engine_(engine), mayShow_(std::move(mayShow)) {}
    void Fill();
    void OnShown() override { Fill(); }

protected:
    std::span<const ControlRow> Controls() const override;
    void OnCreated() override;
    void OnContextMenu(HWND control, POINT at) override;
    void LaidOut(UINT dpi) override;

private:
    WindowEngine& engine_;
    std::function<bool()> mayShow_;
};

// Page 3: the privacy action, the hotkeys and the decoy.
class SetupPage final : public Page {
public:
    SetupPage(Settings& settings, std::function<void()> btnEditHotKEyClick)
        : settings_(settings), editHotkeys_(std::move(btnEditHotKEyClick)) {}
    void Refresh() override;
    // The visible-window page may have added a program since the last refresh.
    void OnShown() override { ShowKeptPrograms(); }

protected:
    std::span<const ControlRow> Controls() const override;
    void OnCommand(int id, int code) override;

private:
    void DecoyAppChange();
    void btnBrowseClick();
    void ShowKeptPrograms();
    void btnRemoveKeptClick();

    Settings& settings_;
    std::function<void()> editHotkeys_;
    bool refreshing_ = false;
};

// Page 4: about the program.
class AboutPage final : public Page {
public:
    explicit AboutPage(std::function<void()> btnUpdateClick) : checkForUpdates_(std::move(btnUpdateClick)) {}

protected:
    std::span<const ControlRow> Controls() const override;
    void OnCreated() override;
    void OnCommand(int id, int code) override;

private:
    std::function<void()> checkForUpdates_;
    UniqueHicon logo_;
};

// Page 5: the Welcome page, the local file images\Index.html beside the program.
class WelcomePage final : public Page {
public:
    explicit WelcomePage(std::wstring pageFile) : pageFile_(std::move(pageFile)) {}
    // Loads the file again, as every use of the Welcome button does.
    void OnShown() override;

protected:
    std::span<const ControlRow> Controls() const override;
    void LaidOut(UINT dpi) override;

private:
    std::wstring pageFile_;
    std::optional<bool> htmlEngine_;  // probed at the first showing: the probe loads the whole engine
    HWND browser_ = nullptr;
};

}  // namespace hc
