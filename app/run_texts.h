// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The texts a run hands the window (progress captions, its questions and messages, a
// drive's notice) in the user's language. The engine knows no Qt and writes English with the
// names and figures already in place; the window recognises each text by its English form,
// translates that form whole in the context "RunTexts" and puts the same names and figures
// back into the translation.
#pragma once

#include <string_view>

#include <QString>

namespace app {

// `text` translated. Line ends CR LF become LF (a message box breaks lines at LF). A text of
// no known form, such as a system's error message, is returned as it is; a known paragraph
// that follows another on a line of its own ("Some places of drive ...") is translated too.
[[nodiscard]] QString TranslateRunText(std::string_view text);

}  // namespace app
