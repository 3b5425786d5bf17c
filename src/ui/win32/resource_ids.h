/* Resource ids of the Windows program, shared by the resource script (which is compiled by the
 * resource compiler's C preprocessor, so this file holds nothing but #define lines) and the Win32
 * dialog layer. They equal the portable constants of ui/dialog_templates.h; resource_ids.cpp
 * checks that at compile time. */
#ifndef FWUP_UI_WIN32_RESOURCE_IDS_H
#define FWUP_UI_WIN32_RESOURCE_IDS_H

#define IDD_FWUP_MAIN 102
#define IDD_FWUP_MESSAGE 174
#define IDI_FWUP_APP 128
#define IDB_FWUP_FAILED 175
#define IDB_FWUP_SUCCEEDED 176
#define IDB_FWUP_WARNING 177

/* Template 102 */
#define IDC_FWUP_START 1018
#define IDC_FWUP_EXIT 2
#define IDC_FWUP_PRINTERS 1000
#define IDC_FWUP_RESULT_PICTURE 1020

/* Template 174 */
#define IDC_FWUP_OK 1
#define IDC_FWUP_YES 1022
#define IDC_FWUP_NO 1015
#define IDC_FWUP_MESSAGE_TEXT 1021
#define IDC_FWUP_UNADDRESSED 0xFFFF

/* The main dialog's own window class, so that a second instance can find the running window
 * whatever language its title is in. The resource script names it in template 102. */
#define FWUP_MAIN_WINDOW_CLASS "ViruzuFwupMainWindow"

#endif
