// Template and control ids of the custom paper dialog in VQ312CP.dll, for
// its .rc and its code. The module's own numbers: nothing outside it sees them.
#pragma once

#define IDD_CCPD 100
#define IDC_CP_LIST_CAPTION 1001
#define IDC_CP_LIST 1002
#define IDC_CP_NEW 1003
#define IDC_CP_DELETE 1004
#define IDC_CP_NAME_CAPTION 1010
#define IDC_CP_NAME 1011
// Ten size fields: caption id = field id + 100, in the order of kFields.
#define IDC_CP_WIDTH 1020
#define IDC_CP_LENGTH 1021
#define IDC_CP_TOP 1022
#define IDC_CP_BOTTOM 1023
#define IDC_CP_LEFT 1024
#define IDC_CP_RIGHT 1025
#define IDC_CP_GAP 1026
#define IDC_CP_LINER_LEFT 1027
#define IDC_CP_LINER_RIGHT 1028
#define IDC_CP_WIDTH_CAPTION 1120
#define IDC_CP_LENGTH_CAPTION 1121
#define IDC_CP_TOP_CAPTION 1122
#define IDC_CP_BOTTOM_CAPTION 1123
#define IDC_CP_LEFT_CAPTION 1124
#define IDC_CP_RIGHT_CAPTION 1125
#define IDC_CP_GAP_CAPTION 1126
#define IDC_CP_LINER_LEFT_CAPTION 1127
#define IDC_CP_LINER_RIGHT_CAPTION 1128
#define IDC_CP_UNIT_GROUP 1030
#define IDC_CP_MM 1031
#define IDC_CP_INCH 1032
#define IDC_CP_SAVE 1033
#define IDC_CP_HELP 1034
