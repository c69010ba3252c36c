#pragma once
// Command ids shared by the menu "CorvaneMenu", its accelerator table and the tool box.

namespace corvane::command {

inline constexpr int kAbout = 100;
inline constexpr int kZoom = 101;
inline constexpr int kSqueeze = 102;
inline constexpr int kResize = 103;
inline constexpr int kManual = 104;
inline constexpr int kFshow = 105;
inline constexpr int kHistogram = 106;
inline constexpr int kOpen = 107;
inline constexpr int kNext = 108;
inline constexpr int kExit = 110;
inline constexpr int kHeader = 111;
inline constexpr int kCloseUp = 112;
inline constexpr int kStats = 113;
inline constexpr int kMaxMin = 114;
inline constexpr int kGlobalMaxMin = 115;
inline constexpr int kDo = 116;
inline constexpr int kParameters = 117;
inline constexpr int kInitStarList = 118;
inline constexpr int kSmallRoi = 119;
inline constexpr int kReload = 120;
inline constexpr int kEditPixel = 121;
inline constexpr int kCleanRoi = 122;
inline constexpr int kSetRoi = 123;
inline constexpr int kPatch = 124;
inline constexpr int kRedraw = 125;
inline constexpr int kOutputFiles = 126;
inline constexpr int kBitHistogram = 127;  // F2, no menu item
inline constexpr int kHiPass = 128;
inline constexpr int kLog = 129;
inline constexpr int kLog2 = 130;
inline constexpr int kLog4 = 131;
inline constexpr int kMinMax = 132;
// Keyboard scrolling, accelerators only.
inline constexpr int kPageUp = 133;
inline constexpr int kPageDown = 134;
inline constexpr int kEnd = 135;
inline constexpr int kHome = 136;
inline constexpr int kRight = 137;
inline constexpr int kLeft = 138;
inline constexpr int kUp = 139;
inline constexpr int kDown = 140;
inline constexpr int kCtrlPageUp = 141;
inline constexpr int kCtrlPageDown = 142;
inline constexpr int kCtrlEnd = 143;
inline constexpr int kCtrlHome = 144;
inline constexpr int kAcquire = 145;
inline constexpr int kClose = 146;
inline constexpr int kSelectStars = 40001;
inline constexpr int kToolBox = 40002;
inline constexpr int kAddStar = 40003;
inline constexpr int kPsf = 40004;
inline constexpr int kMedianFilter = 40005;
inline constexpr int kLightcurve = 40006;  // the lightcurve window

}  // namespace corvane::command
