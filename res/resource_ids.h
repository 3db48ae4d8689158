/* The ids that the resource scripts and the program share, each written here once. Plain
   #define lines, so that windres reads this file as well as the C++ compiler. */
#pragma once

/* The popup menu of the tray icon, and its entries' command ids. */
#define IDR_CONTEXT_MENU 101
#define IDM_PC_USB 40001
#define IDM_TUNER 40002
#define IDM_CD 40003
#define IDM_MD 40004
#define IDM_TAPE_AUX 40005
#define IDM_MUTE 40006
#define IDM_EXIT 40007
#define IDM_NB_KEY 40010

/* The icon set. Group 1, the lowest id, is also the program file's icon. */
#define IDI_APP 1
/* Volume pictures: step 0 for volume 0, then one step per ten volume levels. */
#define IDI_VOLUME_STEP_0 10
#define IDI_VOLUME_STEP_1 11
#define IDI_VOLUME_STEP_2 12
#define IDI_VOLUME_STEP_3 13
#define IDI_VOLUME_STEP_4 14
#define IDI_VOLUME_STEP_5 15
#define IDI_VOLUME_STEP_6 16
#define IDI_VOLUME_STEP_7 17
#define IDI_VOLUME_STEP_8 18
/* Unit state: driver unreachable, on, off. */
#define IDI_UNREACHABLE 100
#define IDI_POWER_ON 101
#define IDI_POWER_OFF 102
/* CD hotkeys: stop, play, previous track, next track. */
#define IDI_CD_STOP 111
#define IDI_CD_PLAY 112
#define IDI_CD_PREV 113
#define IDI_CD_NEXT 114
/* The same pictures for a dark taskbar: group IDI_DARK_OFFSET + id shows group id's picture at
   the notification area's sizes, with what is black there drawn white. */
#define IDI_DARK_OFFSET 1000
