// Resource and control ids of ManCpLdStarter. The numbers are fixed: the
// dialog's controls and resource 134 are found by them.
#pragma once

#define IDR_MAINFRAME 130
#define IDB_BACKGROUND 131
#define IDB_BUTTON_INSTALL 132
#define IDB_BUTTON_CANCEL 133
#define IDB_BUTTON_CLOSE 138
#define IDR_CARRIED_STARTER 134
#define IDD_INSTALLER 102

#define IDC_BUTTON_INSTALL 1000
#define IDC_BUTTON_CANCEL 1001
#define IDC_BUTTON_CLOSE 1002
// Never shown: holds the text the dialog paints for its state, so that
// accessibility tools and tests can read what the picture says.
#define IDC_STATE_TEXT 1003

#define IDS_TITLE 137
#define IDS_READY 138
#define IDS_INSTALLING 139
#define IDS_DONE 140
#define IDS_FAILED 141
#define IDS_RETRY 142
#define IDS_OUTDATED 143
#define IDS_ASK_STOP 144
#define IDS_INIT_FAILED 145
#define IDS_CANNOT_DELETE 146
#define IDS_CHECK_NOT_RUNNING 147
#define IDS_BUTTON_INSTALL 148
#define IDS_BUTTON_CANCEL 149
#define IDS_BUTTON_CLOSE 150
#define IDS_FONT_FACE 151
