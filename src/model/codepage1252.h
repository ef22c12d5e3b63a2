// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1252, the code page of the name bytes in body files. Every byte maps
// to one character and back, so any file's name bytes survive a read and a
// write unchanged (the five unassigned bytes map to the C1 controls of the
// same number).

#include <cstdint>

char16_t ZeichenAusCp1252(uint8_t byte);
// A character the code page cannot hold becomes '?'.
uint8_t ZeichenNachCp1252(char16_t zeichen);
