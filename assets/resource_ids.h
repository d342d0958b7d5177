/* Resource numbers of the embedded files, shared by the resource script and the program. */
#pragma once

#define IDR_HAND_CURSOR 101
#define IDR_DROPPER_CURSOR 102
#define IDR_MAGNIFIER_CURSOR 103
#define IDR_DROPPER_BOX_IMAGE 111
#define IDR_EMPTY_BOX_IMAGE 112
#define IDR_MAGNIFIER_BOX_IMAGE 113
#define IDR_COLOR_BLOCK_IMAGE 114
#define IDR_HELP_IMAGE 115
