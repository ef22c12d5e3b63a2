// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of "Über Plavo": the version, the licence, the Qt version and the
// kernel the step runs on, as rich text.

#include <QString>

QString UeberPlavoText();

// The step's kernel in use, e.g. "AVX2, 2 Rechenkerne ab 40 Körpern".
QString Rechenkernbeschreibung();
