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

// Attribute change (148).
#define IDC_ATTRIBUTE_SUBFOLDERS 1083
#define IDC_ATTRIBUTE_TARGETS 1084
#define IDC_ATTRIBUTE_ARCHIVE 1085
#define IDC_ATTRIBUTE_READONLY 1086
#define IDC_ATTRIBUTE_HIDDEN 1087
#define IDC_ATTRIBUTE_ABSOLUTE 1089
#define IDC_ATTRIBUTE_ADD 1090
#define IDC_ATTRIBUTE_REMOVE 1091

// Archive check (146).
#define IDC_ARCHIVE_SUBFOLDERS 1052
#define IDC_ARCHIVE_LZH 1053
#define IDC_ARCHIVE_ZIP 1054
#define IDC_ARCHIVE_RAR 1055
#define IDC_ARCHIVE_ISH 1056
#define IDC_ARCHIVE_TAR 1057
#define IDC_ARCHIVE_CAB 1058
#define IDC_ARCHIVE_ARJ 1059
#define IDC_ARCHIVE_LOG 1060
#define IDC_ARCHIVE_INNER 1088

// Timestamp change (132). Each edit is followed by its up-down (_UD).
#define IDC_TIME_ICON 1008
#define IDC_TIME_ITEM 1011
#define IDC_TIME_CREATION 1112
#define IDC_TIME_LAST_WRITE 1113
#define IDC_TIME_DATE 1012
#define IDC_TIME_TIME_OF_DAY 1013
#define IDC_TIME_CLEAR 1015
#define IDC_TIME_NOW 1016
#define IDC_TIME_C_YEAR 1000
#define IDC_TIME_C_MONTH 1001
#define IDC_TIME_C_DAY 1002
#define IDC_TIME_C_HOUR 1003
#define IDC_TIME_C_MINUTE 1004
#define IDC_TIME_C_SECOND 1005
#define IDC_TIME_C_YEAR_UD 1007
#define IDC_TIME_C_MONTH_UD 1041
#define IDC_TIME_C_DAY_UD 1019
#define IDC_TIME_C_HOUR_UD 1021
#define IDC_TIME_C_MINUTE_UD 1020
#define IDC_TIME_C_SECOND_UD 1022
#define IDC_TIME_W_YEAR 1029
#define IDC_TIME_W_MONTH 1031
#define IDC_TIME_W_DAY 1033
#define IDC_TIME_W_HOUR 1035
#define IDC_TIME_W_MINUTE 1037
#define IDC_TIME_W_SECOND 1039
#define IDC_TIME_W_YEAR_UD 1030
#define IDC_TIME_W_MONTH_UD 1032
#define IDC_TIME_W_DAY_UD 1034
#define IDC_TIME_W_HOUR_UD 1036
#define IDC_TIME_W_MINUTE_UD 1038
#define IDC_TIME_W_SECOND_UD 1040

// Time-difference correction (145).
#define IDC_REVISE_ICON 1051
#define IDC_REVISE_ITEM 1050
#define IDC_REVISE_HOURS 1044
#define IDC_REVISE_HOURS_UD 1045
#define IDC_REVISE_MINUTES 1046
#define IDC_REVISE_MINUTES_UD 1047
#define IDC_REVISE_SECONDS 1048
#define IDC_REVISE_SECONDS_UD 1049
#define IDC_REVISE_LATER 1042
#define IDC_REVISE_EARLIER 1043

// ---- pellast.exe -----------------------------------------------------------------
#define IDD_MAINTENANCE 102
#define IDD_CUSTOMIZE 103

// Maintenance (102).
#define IDC_MAINTENANCE_UNINSTALL 1002
#define IDC_MAINTENANCE_CUSTOMIZE 1011

// Customisation (103).
#define IDC_CUSTOMIZE_AVAILABLE 1004
#define IDC_CUSTOMIZE_DISPLAYED 1005
#define IDC_CUSTOMIZE_ADD 1006
#define IDC_CUSTOMIZE_REMOVE 1007
#define IDC_CUSTOMIZE_UP 1008
#define IDC_CUSTOMIZE_DOWN 1009
#define IDC_CUSTOMIZE_DRAG_MENU 1010
#define IDC_CUSTOMIZE_DEFAULTS 1012
#define IDC_CUSTOMIZE_ENTRY_KEY 1013
#define IDC_CUSTOMIZE_TOP_KEY 1014
