// Numeric ids of the installer's resources.
#pragma once

#define IDD_SETUP 103
#define IDI_SETUP 130
#define IDC_SETUP_FOLDER 1004
#define IDC_SETUP_DESKTOP 1005
#define IDC_SETUP_START_MENU 1006
#define IDC_SETUP_LAUNCH 1007
#define IDC_SETUP_BROWSE 1011
#define IDC_SETUP_CANCEL 8
