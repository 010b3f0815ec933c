#pragma once

#include "printing/report.h"

#include <memory>

// The program's fixed page designs. Each call gives a fresh copy as designed, so a
// screen that fills one never sees what another use put into it.
namespace ReportDesigns {

// The card sheet without the product photo: eighteen rows and a notes box.
std::unique_ptr<TReport> repScheda();
// The card sheet with the product photo above the eighteen rows.
std::unique_ptr<TReport> repFoto();
// The price-list sheet: the list name, eight slots A to H and the page number.
std::unique_ptr<TReport> repDocumento();
// The landscape list report: a title band, one data band and a footer band.
std::unique_ptr<TReport> repRiepilogo();

// The distance from one line of the list report's data box to the next, px; the list
// screens size the box and its band with it.
constexpr double kListLinePitch = 12.822;

// The slot letters of the price-list sheet, A to H.
QString slotLetter(int slot);

} // namespace ReportDesigns
