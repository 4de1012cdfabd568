#pragma once
// Control ids of the main window, stable for tests that drive it from outside.
namespace hc::mainids {

// The frame.
inline constexpr int imgMenu = 1001;
inline constexpr int lblTitle = 1002;
inline constexpr int Label23 = 1003;
inline constexpr int btnClose = 1004;
// The navigation buttons, top to bottom.
inline constexpr int actVisible = 1101;
inline constexpr int actHidden = 1102;
inline constexpr int actSetup = 1103;
inline constexpr int actOptions = 1104;
inline constexpr int actAbout = 1105;
inline constexpr int actHome = 1106;

// Options.
inline constexpr int cbRecycle = 2001;
inline constexpr int cbRecent = 2002;
inline constexpr int cbClearTemp = 2003;
inline constexpr int cbHistory = 2004;
inline constexpr int cbMuteAudio = 2005;
inline constexpr int cbPassword = 2006;
inline constexpr int PassBtn = 2007;
inline constexpr int HidePanic_f = 2008;
inline constexpr int cbHideIcon = 2009;
inline constexpr int cbSilent = 2010;
inline constexpr int lblVclStyle = 2011;
inline constexpr int lblAppearance = 2012;
inline constexpr int cbxVclStyles = 2013;
inline constexpr int lblTransparency = 2014;
inline constexpr int jvTransparency = 2015;
inline constexpr int lblTransparencyLow = 2016;
inline constexpr int lblTransparencyHigh = 2017;
inline constexpr int Button2 = 2018;

// Visible Windows.
inline constexpr int VisibleWindows = 3001;
inline constexpr int Hideselectedwindow1 = 3101;
inline constexpr int Refresh1 = 3102;
inline constexpr int KeepVisible1 = 3103;

// Hidden Window.
inline constexpr int WindowLV = 4001;
inline constexpr int Showwindow1 = 4101;
inline constexpr int Showallwindows1 = 4102;
inline constexpr int Closewindow1 = 4103;

// Setup.
inline constexpr int HushCloak = 5001;
inline constexpr int HushCloakItem0 = 5002;  // items 0..4 follow
inline constexpr int cbTaskManager = 5010;
inline constexpr int lblHide = 5011;
inline constexpr int edHide = 5012;
inline constexpr int lblUnHide = 5013;
inline constexpr int edUnHide = 5014;
inline constexpr int btnEditHotKEy = 5015;
inline constexpr int UseDecoy = 5016;
inline constexpr int DecoyApp = 5017;
inline constexpr int btnBrowse = 5018;
inline constexpr int lblKeepVisible = 5019;
inline constexpr int lbKeepVisible = 5020;
inline constexpr int btnRemoveKept = 5021;

// About.
inline constexpr int imgLogo = 6001;
inline constexpr int lblAboutTitle = 6002;
inline constexpr int lblWeb = 6003;
inline constexpr int lblWebAddress = 6004;
inline constexpr int lblSupport = 6005;
inline constexpr int lblSupportAddress = 6006;
inline constexpr int btnUpdate = 6007;

// Welcome.
inline constexpr int WebBrowser1 = 7001;
inline constexpr int WelcomeText = 7002;
inline constexpr int lblWelcome = 7003;

}  // namespace hc::mainids
