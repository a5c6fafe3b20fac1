// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The printers a report can go to (the system's, plus the built-in PDF file printer) and the
// program's current printer, which lasts for one run of the program.
#pragma once

#include <optional>
#include <vector>

#include <QFont>
#include <QString>

namespace reports {

// The device name of the built-in printer that writes a PDF file into the Reports folder.
inline constexpr char kPdfPrinterName[] = "PDF file";

struct PrinterEntry {
  QString name;            // the device name the user sees
  bool isPdfFile = false;  // the built-in PDF file printer rather than a system printer

  friend bool operator==(const PrinterEntry&, const PrinterEntry&) = default;
};

// Lists the printers. Tests hand in a list of their own.
class PrinterList {
 public:
  PrinterList() = default;
  PrinterList(const PrinterList&) = delete;
  PrinterList& operator=(const PrinterList&) = delete;
  virtual ~PrinterList() = default;

  // Every printer, in the order the system enumerates them; a row of a printer list stands
  // for the entry of the same index, so callers must not sort it. Names may repeat.
  [[nodiscard]] virtual std::vector<PrinterEntry> printers() const = 0;
  // The device name of the system's default printer; empty when there is none.
  [[nodiscard]] virtual QString defaultPrinterName() const = 0;
};

// The system's printers as Qt sees them (CUPS on Linux), followed by the PDF file printer.
class SystemPrinterList final : public PrinterList {
 public:
  [[nodiscard]] std::vector<PrinterEntry> printers() const override;
  [[nodiscard]] QString defaultPrinterName() const override;
};

// The program's current printer and the font that printing last left on it. The window owns
// one for the whole run of the program; nothing of it is stored.
class PrinterChoice {
 public:
  // Starts on the system's default printer; without one, on the first system printer;
  // without any, on the PDF file printer. `printers` is only read here.
  explicit PrinterChoice(const PrinterList& printers);

  [[nodiscard]] const PrinterEntry& current() const { return m_current; }

  // Makes `printer` the current printer. A newly chosen printer starts with its own default
  // font, as a printer does when it is selected: the font state is forgotten.
  void choose(const PrinterEntry& printer);

  // The font the last print left on the current printer, which the next print's first
  // header uses; none before the first print on this printer (the device's default font).
  [[nodiscard]] const std::optional<QFont>& printerFont() const { return m_font; }
  void setPrinterFont(const QFont& font) { m_font = font; }

 private:
  PrinterEntry m_current;
  std::optional<QFont> m_font;
};

}  // namespace reports
