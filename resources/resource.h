// Numeric ids of the program's resources (icons, bitmaps, menus, dialogs, strings).
#pragma once

// Icons.
#define IDI_VEXAR 107
#define IDI_SERVER 109
#define IDI_SERVER_FULL 110
#define IDI_LOCK 111
#define IDI_SORT_MARKER 114
#define IDI_BOT 124
#define IDI_NO_REPLY 127
#define IDI_RCON 134
#define IDI_SORT_DESCENDING 145
#define IDI_BUDDY_OFFLINE 152
#define IDI_AUTO_REFRESH 161
#define IDI_FAVOURITE 187
#define IDI_FIND 201
// Game icons, tab image list order 0..8.
#define IDI_GAME_EF 170
#define IDI_GAME_RTCW 156
#define IDI_GAME_Q3A 157
#define IDI_GAME_JK2 175
#define IDI_GAME_HL 176
#define IDI_GAME_SOF2 184
#define IDI_GAME_MOHAA 192
#define IDI_GAME_CCR 193
#define IDI_GAME_UT 198

// Bitmaps.
#define IDB_TOOLBAR 102
#define IDB_LOGO 139
#define IDB_BANNER 178
