/* Shared by the probe library and the e2e helpers that read through it. */
#pragma once

/* wParam: the menu's handle. */
#define PROBE_MENU_MESSAGE L"TarnvellE2EMenuProbe"
/* Sent to a dialog: its texts measured against their controls. */
#define PROBE_FIT_MESSAGE L"TarnvellE2EFitProbe"
#define PROBE_MAPPING L"TarnvellE2EProbe"
#define PROBE_SIZE (1024 * 1024)

/* One menu item (MFS_* state), followed by its text's length UTF-16 units. */
struct ProbeMenuItem {
    unsigned state;
    unsigned length;
};

/* The id of the last record, the dialog's caption (no control has it), which
   has no room of its own to measure: only its missing characters count. */
#define PROBE_CAPTION_ID 0x7FFFFFFF

/* One measured control, followed by its text's length UTF-16 units.
   missing: how many characters draw as the box of a missing glyph. */
struct ProbeFit {
    int id;
    int needWidth, needHeight;
    int haveWidth, haveHeight;
    unsigned missing;
    unsigned length;
};
