#include "ui/printer_list_view.h"

#include "base/shown_text.h"
#include "text/lang_text.h"
#include "upgrade/printer_selection.h"

namespace fwup {
namespace {

bool SameList(const DeviceList& a, const DeviceList& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!SamePrinter(a[i], b[i]) || a[i].PortName != b[i].PortName ||
            a[i].ModelName != b[i].ModelName) {
            return false;
        }
    }
    return true;
}

std::wstring SerialPart(const DeviceEntry& printer) {
    return GetLangText(TXT_SERIAL) + L" " + ShownText(SerialOf(printer.InstanceId));
}

}  // namespace

std::wstring PrinterEntryText(const DeviceEntry& printer) {
    std::wstring text = ShownText(printer.ModelName);
    if (!printer.PortName.empty()) {
        text += L", " + ShownText(printer.PortName);
    }
    return text + L", " + SerialPart(printer);
}

std::wstring PrinterNameText(const DeviceEntry& printer) {
    return ShownText(printer.ModelName) + L", " + SerialPart(printer);
}

bool PrinterListView::Show(const DeviceList& printers) {
    if (shownOnce_ && SameList(printers, printers_)) {
        return false;
    }
    std::optional<std::size_t> kept;
    if (chosen_) {
        kept = FindPinnedPrinter(printers, printers_[*chosen_]);
    }
    printers_ = printers;
    chosen_ = kept;
    shownOnce_ = true;
    Fill();
    Describe();
    return true;
}

void PrinterListView::Fill() {
    surface_.ResetItems(listId_);
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        surface_.InsertItem(listId_, static_cast<int>(i), PrinterEntryText(printers_[i]));
    }
    // One printer is the printer of the run; of several, only the user's choice is selected.
    if (printers_.size() == 1) {
        surface_.SetCurSel(listId_, 0);
    } else {
        surface_.SetCurSel(listId_, chosen_ ? static_cast<int>(*chosen_) : -1);
    }
    surface_.Show(listId_, !printers_.empty());
    surface_.Enable(listId_, printers_.size() > 1);
}

void PrinterListView::Describe() {
    const int lineText = printers_.empty()       ? TXT_PRINTERS_NONE
                         : printers_.size() == 1 ? TXT_PRINTER_CHOSEN
                                                 : TXT_PRINTERS_CHOOSE;
    surface_.Move(lineId_, printers_.empty() ? places_.alone : places_.withList);
    surface_.SetText(lineId_, GetLangText(lineText));
    // Told to a screen reader as a change of the list's name and description, so that a printer
    // plugged in or pulled while the user listens is heard.
    surface_.SetAccessibleName(listId_, GetLangText(lineText));
    surface_.SetAccessibleDescription(
        listId_, LabelAndValue(TXT_PRINTERS_ATTACHED, std::to_wstring(printers_.size())));
}

void PrinterListView::TakeUserChoice() {
    const int selected = surface_.GetCurSel(listId_);
    if (selected >= 0 && static_cast<std::size_t>(selected) < printers_.size()) {
        chosen_ = static_cast<std::size_t>(selected);
    }
}

std::optional<DeviceEntry> PrinterListView::Chosen() const {
    if (printers_.size() == 1) {
        return printers_.front();
    }
    if (chosen_) {
        return printers_[*chosen_];
    }
    return std::nullopt;
}

}  // namespace fwup
