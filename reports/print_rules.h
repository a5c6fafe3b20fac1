// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The rules of a printed report that need no printer: page headers, the colour route's body
// rectangle, and how the black-and-white route marks and splits a line. Measures in twips.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QString>

namespace engine {
struct SettingsRecord;
}  // namespace engine

namespace reports {

inline constexpr int kTwipsPerInch = 1440;
// The colour route keeps half an inch free at the right and bottom edges of the paper.
inline constexpr int kColourRightMargin = 720;
inline constexpr int kColourBottomMargin = 720;
// The first header line sits at the top of the printable area; the colour route's body never
// starts above this, however small the top margin.
inline constexpr int kColourTopAdjustment = 205;
// The black-and-white route keeps this much free right of its lines before it splits one.
inline constexpr int kPlainRightAllowance = 500;
// The black-and-white route starts a new page once a line would begin below this.
inline constexpr int kPlainPageFull = 14256;

// The file-name part of the report view's current file; "Untitled" when it has none.
[[nodiscard]] QString SourceNameOf(const QString& currentFile);

// "Source: <source>, Created <created> (Page <page>)": the colour route's header.
[[nodiscard]] QString ColourHeader(const QString& source, const QString& created, int page);
// " -- Source: <source>, <created> (Page <page>)": the black-and-white route's header.
[[nodiscard]] QString PlainHeader(const QString& source, const QString& created, int page);

// A rectangle in twips; right and bottom are the coordinates of its far edges.
struct TwipsRect {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;

  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// The paper as the colour route sees it, in twips: the whole page, and where the printable
// area begins (the device's physical offsets).
struct PaperTwips {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t offsetLeft = 0;
  std::int64_t offsetTop = 0;
};

// The colour route's body: left and top margins from `settings` (rounded to whole twips; a
// top margin of more than 205 twips less 205, otherwise 205), the fixed right and bottom
// margins, all measured from the paper's edges and given relative to the printable area.
[[nodiscard]] TwipsRect ColourBodyRect(const engine::SettingsRecord& settings,
                                       const PaperTwips& paper);

// A line of the black-and-white route as printed: marked, and perhaps split in two.
struct PlainPrintLine {
  QString first;                        // printed now
  std::optional<QString> continuation;  // printed next, as it is
};

// Marks a line of the plain-text report: "." in front of one whose fourth character begins
// "Added " or "Deleted "; otherwise ".  " in front of one holding " Shrunk from ",
// " Grew from " or " From: " (letter case ignored). A line marked ".  " for which `tooWide`
// answers true is cut after the character that follows its first colon, or after its first
// character when it holds none. Other lines are returned as they are.
[[nodiscard]] PlainPrintLine MarkPlainLine(const QString& line,
                                           const std::function<bool(const QString&)>& tooWide);

}  // namespace reports
