// Resource IDs of the IvAc stand-in. The control IDs that Quorvex relies on
// are IvAc's own: 1004 and 1006 in the COMMBox, 1089 and 1 (OK) in
// the colour-scheme dialog; the rest are the stand-in's choice.
#pragma once

#define IDR_MAINMENU 100

#define IDD_TOOLBAR 200
#define IDD_COMMBOX 201
#define IDD_SELECTION 202
#define IDD_LEVEL 203
#define IDD_SPEED 204
#define IDD_FIX 205
#define IDD_ATC 206
#define IDD_OCCUPIED_AREA 207
#define IDD_COLOUR_SCHEME 208
#define IDD_INOUT 209

// COMMBox (IvAc's IDs for the two edits).
#define IDC_COMM_TABS 1001
#define IDC_COMM_SELECTED 1004
#define IDC_COMM_TEXT 1006
#define IDC_COMM_HISTORY 1010

// Selection dialogs and sub-windows.
#define IDC_LIST 1100
#define IDC_SELECT_ALL 1101
#define IDC_SELECT_NONE 1102
#define IDC_ALL 1103
#define IDC_CLEAR 1104
#define IDC_ENTER 1105
#define IDC_WAYPOINT 1106
#define IDC_FIX_EDIT 1107
#define IDC_AREA_NAME 1108
#define IDC_TITLE 1109

// Colour-scheme dialog (IvAc's ID for the scheme box).
#define IDC_SCHEME 1089

// In/Out window.
#define IDC_INOUT_LIST 1200

// Menu commands of the stand-in itself (IvAc's are in model.h).
#define IDM_EXIT 40001
#define IDM_TOGGLE_CONNECT 40002
#define IDM_SHOW_COMMBOX 40003
#define IDM_SHOW_INOUT 40004
#define IDM_LEVEL_WINDOW 40005
#define IDM_SPEED_WINDOW 40006
#define IDM_FIX_WINDOW 40007
#define IDM_ABOUT 40008
