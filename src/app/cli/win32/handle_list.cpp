#include "app/cli/win32/handle_list.h"

#include <utility>

namespace fwup::cli {

bool IsConsolePseudoHandle(HANDLE handle) {
    return (reinterpret_cast<ULONG_PTR>(handle) & 3) == 3 && GetFileType(handle) == FILE_TYPE_CHAR;
}

HandleList::HandleList(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size)) {
        return;
    }
    if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                   handles_.size() * sizeof(HANDLE), nullptr, nullptr)) {
        DeleteProcThreadAttributeList(list);
        return;
    }
    list_ = list;
}

HandleList::~HandleList() {
    if (list_ != nullptr) {
        DeleteProcThreadAttributeList(list_);
    }
}

}  // namespace fwup::cli
