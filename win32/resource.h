// Every resource, control and command id of the program. Shared by baylith.rc and
// the C++ code, so plain #defines and an include guard only (the resource compiler
// reads them).
#ifndef BAYLITH_PANELS_RESOURCE_H
#define BAYLITH_PANELS_RESOURCE_H

// Dialog templates and the About box's logo.
#define IDD_ABOUT_BOX 108
#define IDB_LOGO 110
#define IDD_QUERY_PANEL 111
#define IDD_INFO_PANEL 112
#define IDD_PRINTING_BOX 113

// Where the two child panels stand, in dialog units from the main window's client
// origin to the panel's outer top-left corner. The templates use these, and the
// panels are put there again once created (see place_panel).
#define QUERY_PANEL_X 244
#define QUERY_PANEL_Y 217
#define INFO_PANEL_X 2
#define INFO_PANEL_Y 2

// Query panel (template 111): labels, the criteria's combo boxes in QueryState
// field order (QUERY_CRITERION_LIST in core/query.h), and the city list.
#define IDC_QUERY_POPULATION_LABEL 1033
#define IDC_QUERY_STRUCTURE_LABEL 1029
#define IDC_QUERY_ELECTED_LABEL 1034
#define IDC_QUERY_HAS_LIMITS_LABEL 1035
#define IDC_QUERY_ADOPTED_LABEL 1036
#define IDC_QUERY_AMENDED_LABEL 1030
#define IDC_QUERY_COUNCIL_SIZE_LABEL 1037
#define IDC_QUERY_STAGGERED_LABEL 1038
#define IDC_QUERY_CITY_LABEL 1039

#define IDC_QUERY_POPULATION 1006
#define IDC_QUERY_STRUCTURE 1007
#define IDC_QUERY_ELECTED 1008
#define IDC_QUERY_HAS_LIMITS 1009
#define IDC_QUERY_ADOPTED 1010
#define IDC_QUERY_AMENDED 1011
#define IDC_QUERY_COUNCIL_SIZE 1012
#define IDC_QUERY_STAGGERED 1013
#define IDC_QUERY_FIRST_CRITERION IDC_QUERY_POPULATION

#define IDC_QUERY_CITY_LIST 1048

// Info panel (template 112).
#define IDC_INFO_TEXT 1035
#define IDC_INFO_CLEAR 1045
#define IDC_INFO_SAVE 1046

// About box (template 108).
#define IDC_ABOUT_OK 1036
#define IDC_ABOUT_LOGO 1037
#define IDC_ABOUT_CONTACT_GROUP 1038
#define IDC_ABOUT_REFERENCE_GROUP 1039
#define IDC_ABOUT_CONTACT1_ROLE 1040
#define IDC_ABOUT_CONTACT1_NAME 1041
#define IDC_ABOUT_CONTACT1_MAIL 1042
#define IDC_ABOUT_CONTACT2_ROLE 1043
#define IDC_ABOUT_CONTACT2_NAME 1044
#define IDC_ABOUT_CONTACT2_MAIL 1045
#define IDC_ABOUT_CONTACT3_ROLE 1046
#define IDC_ABOUT_CONTACT3_NAME 1047
#define IDC_ABOUT_CONTACT3_MAIL 1048
#define IDC_ABOUT_PAN_LABEL 1049
#define IDC_ABOUT_PAN_ACTION 1050
#define IDC_ABOUT_ZOOM_LABEL 1051
#define IDC_ABOUT_ZOOM_ACTION 1052
#define IDC_ABOUT_SELECT_LABEL 1057
#define IDC_ABOUT_SELECT_ACTION 1058
#define IDC_ABOUT_WEB_ADDRESS 1059

// Menu commands (their items: MENU_COMMAND_LIST in win32/menu.h). The Display items'
// ids are the display modes' values (DISPLAY_MODE_LIST in core/view.h, which cannot
// include this file); no command here may take one of them.
#define CMD_SAVE_SNAPSHOT 1
#define CMD_PRINT 2
#define CMD_QUIT 10
#define CMD_SHOW_QUERY_PANEL 31
#define CMD_SHOW_INFO_PANEL 33
#define CMD_ABOUT 41
#define CMD_RESET_QUERY 51

// "Printing" box (template 113): its text; Cancel is IDCANCEL.
#define IDC_PRINTING_TEXT 1060

#endif
