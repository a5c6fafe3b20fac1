// SPDX-FileCopyrightText: 2026 The Brinvale developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/printers.h"

#include <gtest/gtest.h>

#include "reports/print_test_support.h"
#include "reports/test_support.h"

namespace reports {
namespace {

const PrinterEntry kPdf{kPdfPrinterName, true};

TEST(PrinterChoiceTest, StartsOnTheDefaultThenAnyPrinterThenThePdfFile) {
  const PrinterEntry laser{"Laser", false};
  const PrinterEntry inkjet{"Inkjet", false};
  EXPECT_EQ(PrinterChoice(testing::ListedPrinters({laser, inkjet, kPdf}, "Inkjet")).current(),
            inkjet);
  EXPECT_EQ(PrinterChoice(testing::ListedPrinters({laser, inkjet, kPdf}, "")).current(), laser);
  EXPECT_EQ(PrinterChoice(testing::ListedPrinters({laser, inkjet, kPdf}, "Gone")).current(), laser);
  EXPECT_EQ(PrinterChoice(testing::ListedPrinters({kPdf}, "")).current(), kPdf);
  // A system printer that happens to share the built-in printer's name is still a printer.
  const PrinterEntry namesake{kPdfPrinterName, false};
  EXPECT_EQ(PrinterChoice(testing::ListedPrinters({kPdf, namesake}, kPdfPrinterName)).current(),
            namesake);
  // The built-in printer is there even when a list forgets it.
  EXPECT_EQ(PrinterChoice(testing::ListedPrinters({}, "")).current(), kPdf);
}

TEST(PrinterChoiceTest, ChoosingAPrinterForgetsTheFontThePreviousOneWasLeftIn) {
  PrinterChoice choice(testing::ListedPrinters({kPdf}, ""));
  EXPECT_FALSE(choice.printerFont());
  choice.setPrinterFont(QFont("Arial", 10));
  EXPECT_EQ(choice.printerFont(), QFont("Arial", 10));
  choice.choose({"Laser", false});
  EXPECT_EQ(choice.current(), (PrinterEntry{"Laser", false}));
  EXPECT_FALSE(choice.printerFont());
}

TEST(SystemPrinterListTest, EndsWithThePdfFilePrinter) {
  const std::vector<PrinterEntry> printers = SystemPrinterList().printers();
  ASSERT_FALSE(printers.empty());
  EXPECT_EQ(printers.back(), kPdf);
  for (std::size_t i = 0; i + 1 < printers.size(); ++i) EXPECT_FALSE(printers[i].isPdfFile);
}

}  // namespace
}  // namespace reports
