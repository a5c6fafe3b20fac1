// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The window's compiled-in resources: icon, toolbar pictures, sound cues, start-up document.
#pragma once

namespace app {

// Registers the resources (":/brinvale.svg", ":/icons/...", ":/sounds/...", ":/startup.rtf").
// They live in a static library, whose initialiser the linker would otherwise drop. Cheap
// to call again; the window and the sound output call it themselves.
void InitResources();

}  // namespace app
