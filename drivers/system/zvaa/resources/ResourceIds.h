// Resource ids of zvaaSUI.dll, shared by the resource script and the code.
#pragma once

// String table
#define IDS_OEM_UI_ITEM 1
#define IDS_PRINTER_CALIBRATED 2
#define IDS_OEM_UI_DLL 3
#define IDS_WEB_PAGE_LOADING 5
#define IDS_CLEANING_ERROR 6
#define IDS_ALIGNMENT_ERROR 8
#define IDS_CART_COLOUR 11
#define IDS_CART_COLOUR_HIGH 12
#define IDS_CART_BLACK 13
#define IDS_CART_BLACK_HIGH 14
#define IDS_CART_PHOTO 15
#define IDS_ALIGN_TITLE 16
#define IDS_ALIGN_BODY 17
#define IDS_INSTALL_TITLE 18
#define IDS_INSTALL_BODY1 19
#define IDS_INSTALL_BODY2 20
#define IDS_UNINSTALL_LINK 21
#define IDS_CONTACT_LINK 22
#define IDS_NO_CARTRIDGE 23
#define IDS_NEW_CARTRIDGE 24
#define IDS_OLD_CARTRIDGE 25
#define IDS_ALIGN_PREP_TITLE 26
#define IDS_ALIGN_PREP_BODY 27
#define IDS_SETUP_TITLE 29
#define IDS_SETUP_BODY1 30
#define IDS_SETUP_BODY2 31
#define IDS_SUPPLIES_URL 32
#define IDS_MANUAL_FEED_TITLE 34
#define IDS_MANUAL_FEED_BODY 35
#define IDS_BANNER_TITLE 36
#define IDS_BANNER_BODY 37
#define IDS_IDENTIFY_TITLE 38
#define IDS_IDENTIFY_BODY 39
#define IDS_INVALID_PAIR 40
#define IDS_OUT_OF_PAPER_TITLE 44
#define IDS_OUT_OF_PAPER_BODY 45
#define IDS_PAPER_JAM_TITLE 46
#define IDS_PAPER_JAM_BODY 47
#define IDS_SETTINGS_NOT_SAVED 50
// What a screen reader hears of the pictures; the level texts take the percent left.
#define IDS_INK_PERCENT 51
#define IDS_INK_ALMOST_EMPTY 52
#define IDS_INK_EMPTY 53
#define IDS_INK_UNKNOWN 54
#define IDS_EXAMPLE_NAME 55
#define IDS_ALIGN_PICTURE_NAME 56

// Dialog templates
#define IDD_ALIGNMENT 104
#define IDD_MAINTENANCE_PAGE 106
#define IDD_CARTRIDGE_INSTALL 113
#define IDD_SETUP_PROMPT 150
#define IDD_ALIGN_PREP 151
#define IDD_MANUAL_FEED 152
#define IDD_BANNER 153
#define IDD_CARTRIDGE_IDENTIFY 154

// Bitmaps. Alignment examples of dialog 104; 106 shares its number with the page template, which is
// a different resource type.
#define IDB_ALIGN_EXAMPLE_A 106
#define IDB_ALIGN_EXAMPLE_BLUE_F 108
#define IDB_ALIGN_EXAMPLE_BLACK 109
#define IDB_ALIGN_EXAMPLE_BLUE 110
#define IDB_ALIGN_EXAMPLE_BLACK_E 111
#define IDB_ALIGN_EXAMPLE_B 112
// Ink-level gauges, steps 0 (empty) to 8 (full) and 9 (unknown). The photo set has no step 9 of
// its own: it shows the colour set's unknown picture.
#define IDB_INK_BLACK_0 119
#define IDB_INK_BLACK_1 120
#define IDB_INK_BLACK_2 121
#define IDB_INK_BLACK_3 122
#define IDB_INK_BLACK_4 123
#define IDB_INK_BLACK_5 124
#define IDB_INK_BLACK_6 125
#define IDB_INK_BLACK_7 126
#define IDB_INK_BLACK_8 127
#define IDB_INK_BLACK_9 128
#define IDB_INK_COLOUR_0 129
#define IDB_INK_COLOUR_1 130
#define IDB_INK_COLOUR_2 131
#define IDB_INK_COLOUR_3 132
#define IDB_INK_COLOUR_4 133
#define IDB_INK_COLOUR_5 134
#define IDB_INK_COLOUR_6 135
#define IDB_INK_COLOUR_7 136
#define IDB_INK_COLOUR_8 137
#define IDB_INK_COLOUR_9 138
#define IDB_INK_PHOTO_0 139
#define IDB_INK_PHOTO_1 140
#define IDB_INK_PHOTO_2 141
#define IDB_INK_PHOTO_3 142
#define IDB_INK_PHOTO_4 143
#define IDB_INK_PHOTO_5 144
#define IDB_INK_PHOTO_6 145
#define IDB_INK_PHOTO_7 146
#define IDB_INK_PHOTO_8 147
#define IDB_INK_BLACK_FIRST IDB_INK_BLACK_0
#define IDB_INK_COLOUR_FIRST IDB_INK_COLOUR_0
#define IDB_INK_PHOTO_FIRST IDB_INK_PHOTO_0
#define IDB_INK_PHOTO_LAST IDB_INK_PHOTO_8
#define IDB_HEADER_PRINTER 151
#define IDB_ALIGN_ILLUSTRATION 155
// 156 is asked for by the alignment dialog and deliberately absent.
#define IDB_ALIGN_EXAMPLE_NONE 156

// Controls shared by the wizard dialogs
#define IDC_HEADER_INSTALL 1061
#define IDC_HEADER_ALIGN 1062
#define IDC_HEADER_SETUP 1064
#define IDC_HEADER_ALIGN_PREP 1066
#define IDC_HEADER_MANUAL_FEED 1067
#define IDC_HEADER_BANNER 1068
#define IDC_HEADER_IDENTIFY 1074

// Maintenance page (106)
#define IDC_INSTALL_CARTRIDGE 1001
#define IDC_ALIGN_HEADS 1002
#define IDC_ORDER_SUPPLIES 1003
#define IDC_CLEAN_NOZZLES 1004
#define IDC_INK_LEVELS_GROUP 1005
#define IDC_LEFT_LABEL 1037
#define IDC_RIGHT_LABEL 1038
#define IDC_LEFT_TYPE 1051
#define IDC_RIGHT_TYPE 1053
#define IDC_LEFT_INK 1054
#define IDC_RIGHT_INK 1055

// Cartridge dialogs (113, 154); 1037 and 1038 are the holder labels as on the page
#define IDC_LEFT_COMBO 1036
#define IDC_RIGHT_COMBO 1039
#define IDC_LEFT_NEW 1070
#define IDC_LEFT_USED 1071
#define IDC_RIGHT_NEW 1072
#define IDC_RIGHT_USED 1073

// Setup prompt (150)
#define IDC_SETUP_YES 1069
#define IDC_SETUP_NO 1070

// Alignment preparation (151)
#define IDC_ALIGN_PICTURE 1075

// Alignment values (104): groups A to F, each a group box, a label, an edit, a spin bar and an
// owner-drawn example button.
#define IDC_GROUP_A 1028
#define IDC_GROUP_B 1029
#define IDC_GROUP_C 1030
#define IDC_GROUP_D 1031
#define IDC_GROUP_E 1032
#define IDC_GROUP_F 1033
#define IDC_LABEL_A 1012
#define IDC_LABEL_B 1013
#define IDC_LABEL_C 1024
#define IDC_LABEL_D 1025
#define IDC_LABEL_E 1026
#define IDC_LABEL_F 1027
#define IDC_EDIT_A 1008
#define IDC_EDIT_B 1014
#define IDC_EDIT_C 1016
#define IDC_EDIT_D 1018
#define IDC_EDIT_E 1020
#define IDC_EDIT_F 1022
#define IDC_SPIN_A 1009
#define IDC_SPIN_B 1015
#define IDC_SPIN_C 1017
#define IDC_SPIN_D 1019
#define IDC_SPIN_E 1021
#define IDC_SPIN_F 1023
#define IDC_EXAMPLE_A 1035
#define IDC_EXAMPLE_B 1036
#define IDC_EXAMPLE_C 1037
#define IDC_EXAMPLE_D 1038
#define IDC_EXAMPLE_E 1039
#define IDC_EXAMPLE_F 1040
