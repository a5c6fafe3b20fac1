// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The pictures the dialogs show, painted by the program itself so that no image files
// have to travel with it. Each call paints the same pixels.
#pragma once

#include <QPixmap>

namespace dialogs {

// The picture of a confirming button: a green check mark above the word "Ok".
[[nodiscard]] QPixmap OkButtonPicture();
// The picture of a cancelling button: a red cross above the word "Cancel".
[[nodiscard]] QPixmap CancelButtonPicture();
// A small black cross, shown beside the caption of a button that throws edits away.
[[nodiscard]] QPixmap DiscardPicture();

// The pictures of the Options page, numbered as the program has always numbered them.
enum class Picture {
  kSoundOff = 101,  // 24 x 22: a loudspeaker crossed out in red
  kSoundOn = 102,   // 24 x 22: a loudspeaker with sound waves
  kInfoOff = 103,   // 64 x 58: plain grey, no mark
  kInfoOn = 104,    // 25 x 27: a black check mark
};
[[nodiscard]] QPixmap PictureOf(Picture picture);

}  // namespace dialogs
