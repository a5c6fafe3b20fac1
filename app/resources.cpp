// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/resources.h"

#include <QtGlobal>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void InitBrinvaleResources() { Q_INIT_RESOURCE(brinvale); }

namespace app {

void InitResources() { InitBrinvaleResources(); }

}  // namespace app
