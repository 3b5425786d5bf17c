#pragma once

#include <windows.h>

#include <vector>

namespace fwup::cli {

// Windows 7's console handles are no kernel handles: listed, they make CreateProcessW fail. The
// child reaches the console they stand for without them.
bool IsConsolePseudoHandle(HANDLE handle);

// The list of the only handles a child inherits (PROC_THREAD_ATTRIBUTE_HANDLE_LIST), so that it
// holds open no pipe of another child's. Null when the system cannot make one; the caller then
// lets the child inherit every inheritable handle.
class HandleList {
  public:
    explicit HandleList(std::vector<HANDLE> handles);
    ~HandleList();
    HandleList(const HandleList&) = delete;
    HandleList& operator=(const HandleList&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

  private:
    std::vector<HANDLE> handles_;  // the attribute points into it
    std::vector<unsigned char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace fwup::cli
