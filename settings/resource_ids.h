// Dialog, icon and control ids of the suite's resources: included by the .rc files, the
// code and the tests. Plain #defines, so the resource compiler reads them too.
#pragma once

// ---- kelmora.dll -----------------------------------------------------------------
#define IDI_ITEM 140
#define IDI_TIDALON 142

#define IDD_TIME 132
#define IDD_NAME 136
#define IDD_ABOUT 141
#define IDD_CLIPBOARD 143
#define IDD_CNUM 144
#define IDD_REVISE 145
#define IDD_ARCHIVE 146
#define IDD_PERMUTE 147
#define IDD_ATTRIBUTE 148

// Buttons every command dialog has.
#define IDC_VERSION 2018
#define IDC_DEFAULT 2019

// Name replacement (147).
#define IDC_PERMUTE_SEARCH 1076
#define IDC_PERMUTE_REPLACEMENT 1077
#define IDC_PERMUTE_SUBFOLDERS 1078
#define IDC_PERMUTE_KEEP_EXTENSION 1079
#define IDC_PERMUTE_EVERY 1080

// ---- pellast.exe -----------------------------------------------------------------
#define IDD_MAINTENANCE 102
#define IDD_CUSTOMIZE 103
