#pragma once

#include <optional>
#include <string>

#include "device/discovery.h"
#include "ui/dialog_surface.h"

namespace fwup {

// The printers the idle look shows: one line that says how many are attached, and the printer
// list (a drop-down list) with an entry per printer. One printer is the printer of the run; of
// several, none is chosen until the user chooses one, and a choice stays while its printer does.
// Window thread only.
class PrinterListView {
  public:
    // The line's place, and its place while no printer is listed: the hidden list's room as well,
    // for the longer "attach a printer" texts, which take three lines in some languages and at
    // some scalings.
    struct LinePlaces {
        PixelRect withList;
        PixelRect alone;
    };

    PrinterListView(DialogSurface& surface, int lineId, int listId, LinePlaces places)
        : surface_(surface), lineId_(lineId), listId_(listId), places_(places) {}

    // Shows `printers` (discovery's order), keeping the user's choice where its printer is
    // still listed by its whole identity. Returns true when what is shown changed.
    bool Show(const DeviceList& printers);
    // The user chose the list's entry that is selected now.
    void TakeUserChoice();
    // The printer the run is to work on: the only one, or the one chosen; none otherwise.
    std::optional<DeviceEntry> Chosen() const;
    // Whether Start may begin a run: not while several printers wait for a choice.
    bool StartAllowed() const { return printers_.size() <= 1 || chosen_.has_value(); }
    const DeviceList& Printers() const { return printers_; }

  private:
    void Fill();
    void Describe();

    DialogSurface& surface_;
    int lineId_;
    int listId_;
    LinePlaces places_;
    DeviceList printers_;
    std::optional<std::size_t> chosen_;  // index into printers_ of the user's choice
    bool shownOnce_ = false;
};

// "Viruzu TQ3800HKS Series, USB001, serial SER0001": a printer as its entry shows it, its
// strings made safe to show.
std::wstring PrinterEntryText(const DeviceEntry& printer);
// "Viruzu TQ3800HKS Series, serial SER0001": the printer a run works on.
std::wstring PrinterNameText(const DeviceEntry& printer);

}  // namespace fwup
