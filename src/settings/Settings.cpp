#include "settings/Settings.h"

#include <algorithm>

#include "settings/KeepVisible.h"
#include "settings/SettingsStore.h"

namespace hc {

namespace {
// The radio group keeps the index within its items: below -1 selects nothing, above 4 the last item.
int ClampAction(int index) { return std::clamp(index, -1, 4); }
}  // namespace

Settings LoadSettings(const SettingsStore& store, const SettingsDefaults& defaults) {
    const std::wstring section = kStartUpSection;
    Settings s;
    s.cbRecycle = store.ReadBool(section, L"DoBin", s.cbRecycle);
    s.cbClearTemp = store.ReadBool(section, L"TempFiles", s.cbClearTemp);
    s.cbRecent = store.ReadBool(section, L"Recent", s.cbRecent);
    s.cbHistory = store.ReadBool(section, L"URL", s.cbHistory);
    s.cbPassword = store.ReadBool(section, L"UsePW", s.cbPassword);
    s.UseDecoy = store.ReadBool(section, L"UseDecoy", s.UseDecoy);
    s.DecoyApp = store.ReadString(section, L"Decoy", s.DecoyApp);
    s.Action = ClampAction(store.ReadInteger(section, L"Action", s.Action));
    s.cbMuteAudio = store.ReadBool(section, L"MuteAudio", s.cbMuteAudio);
    s.edHide = store.ReadString(section, L"HkHide", s.edHide);
    s.edUnHide = store.ReadString(section, L"hkUnHide", s.edUnHide);
    s.UseDefaultKeys = store.ReadBool(section, L"Defaults", s.UseDefaultKeys);
    s.AutoStart = store.ReadBool(section, L"AutoStart", s.AutoStart);
    s.IconFile = store.ReadString(section, L"IconFile", s.IconFile);
    s.fHidePanicBtn = store.ReadBool(L"StartUP", L"HidePanic", s.fHidePanicBtn);
    s.cbSilent = store.ReadBool(section, L"Tray", s.cbSilent);
    s.cbHideIcon = store.ReadBool(section, L"HideIcon", s.cbHideIcon);
    s.DisSplScreen = store.ReadBool(section, L"DisSplScreen", s.DisSplScreen);
    s.PanicLeft = store.ReadInteger(section, L"PanicLeft", defaults.panicLeft);
    s.PanicTop = store.ReadInteger(section, L"PanicTop", defaults.panicTop);
    s.btnPanic = store.ReadString(section, L"btnPanic", s.btnPanic);
    s.IconIndex = store.ReadInteger(section, L"IconIndex", defaults.iconIndex);
    s.KeepVisible = LoadKeepVisible(store);
    return s;
}

bool SaveSettings(SettingsStore& store, const Settings& s) {
    const std::wstring section = kStartUpSection;
    bool ok = store.IsOpen();
    const auto write = [&ok](bool written) { ok = written && ok; };
    write(store.WriteBool(section, L"DoBin", s.cbRecycle));
    write(store.WriteBool(section, L"TempFiles", s.cbClearTemp));
    write(store.WriteBool(section, L"Recent", s.cbRecent));
    write(store.WriteBool(section, L"URL", s.cbHistory));
    write(store.WriteBool(section, L"UsePW", s.cbPassword));
    write(store.WriteBool(section, L"UseDecoy", s.UseDecoy));
    write(store.WriteBool(L"StartUP", L"HidePanic", s.fHidePanicBtn));
    write(store.WriteString(section, L"Decoy", s.DecoyApp));
    write(store.WriteInteger(section, L"Action", s.Action));
    write(store.WriteBool(section, L"MuteAudio", s.cbMuteAudio));
    write(store.WriteString(section, L"HkHide", s.edHide));
    write(store.WriteString(section, L"hkUnHide", s.edUnHide));
    write(store.WriteBool(section, L"Defaults", s.UseDefaultKeys));
    write(store.WriteInteger(section, L"PanicLeft", s.PanicLeft));
    write(store.WriteInteger(section, L"PanicTop", s.PanicTop));
    write(store.WriteString(section, L"btnPanic", s.btnPanic));
    write(store.WriteBool(section, L"Tray", s.cbSilent));
    // Not among the entries the window always had: without it the tray-icon box would forget its state.
    write(store.WriteBool(section, L"HideIcon", s.cbHideIcon));
    write(SaveKeepVisible(store, s.KeepVisible));
    return ok;
}

bool LoadSilentStart(const SettingsStore& store) { return store.ReadBool(kStartUpSection, L"Tray", false); }

}  // namespace hc
