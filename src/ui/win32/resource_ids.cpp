// The resource script is compiled apart from the C++ code; these checks keep its ids equal to the
// ones the logic addresses.
#include "ui/win32/resource_ids.h"

#include "ui/dialog_templates.h"

namespace fwup {

static_assert(IDD_FWUP_MAIN == kIddMainDialog);
static_assert(IDD_FWUP_MESSAGE == kIddMessageDialog);
static_assert(IDI_FWUP_APP == kIdiApp);
static_assert(IDB_FWUP_FAILED == kIdbFailed);
static_assert(IDB_FWUP_SUCCEEDED == kIdbSucceeded);
static_assert(IDB_FWUP_WARNING == kIdbWarning);
static_assert(IDC_FWUP_START == kIdStart);
static_assert(IDC_FWUP_EXIT == kIdExit);
static_assert(IDC_FWUP_PRINTERS == kIdPrinters);
static_assert(IDC_FWUP_RESULT_PICTURE == kIdResultPicture);
static_assert(IDC_FWUP_OK == kIdOk);
static_assert(IDC_FWUP_YES == kIdYes);
static_assert(IDC_FWUP_NO == kIdNo);
static_assert(IDC_FWUP_MESSAGE_TEXT == kIdMessageText);
static_assert(IDC_FWUP_UNADDRESSED == kIdUnaddressed);

}  // namespace fwup
