// TWindowSubclass: each subclassed window gets a small executable thunk of its own that puts the
// address of its block in place of the window handle and jumps to one shared procedure. The block
// outlives the object when someone subclassed the window after us (their chain still calls it):
// it then only forwards to the procedure that was there before us.
#include "platform/forms/WindowSubclass.h"

#include "platform/forms/Controls.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace qv {

struct TWindowSubclass::TThunk {
  unsigned char Code[32];
  TWindowSubclass *Owner; // none once the object let go
  HWND Wnd;
  WNDPROC Previous;
  bool Unicode;
  int Depth;     // messages of this window being dispatched through the block
  bool Released; // free once the last dispatch returns
  TThunk *NextFree;
  static TThunk *FreeList;

  static LRESULT CALLBACK Proc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam);
  static TThunk *Allocate();
  static void Free(TThunk *t);
  LRESULT Forward(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return Unicode ? CallWindowProcW(Previous, Wnd, msg, wParam, lParam)
                   : CallWindowProcA(Previous, Wnd, msg, wParam, lParam);
  }
};

namespace {

// Writes the machine code that calls TThunk::Proc with the block in place of the window handle.
template <class T> void WriteCode(T *t, void *proc) {
  unsigned char *c = t->Code;
#if defined(_M_X64) || defined(__x86_64__)
  // mov rcx, imm64 ; mov rax, imm64 ; jmp rax
  auto self = reinterpret_cast<uint64_t>(t), target = reinterpret_cast<uint64_t>(proc);
  c[0] = 0x48, c[1] = 0xB9;
  std::memcpy(c + 2, &self, 8);
  c[10] = 0x48, c[11] = 0xB8;
  std::memcpy(c + 12, &target, 8);
  c[20] = 0xFF, c[21] = 0xE0;
#else
  // mov dword ptr [esp+4], imm32 ; jmp rel32
  auto self = reinterpret_cast<uint32_t>(t);
  c[0] = 0xC7, c[1] = 0x44, c[2] = 0x24, c[3] = 0x04;
  std::memcpy(c + 4, &self, 4);
  c[8] = 0xE9;
  auto rel = static_cast<int32_t>(reinterpret_cast<intptr_t>(proc) - reinterpret_cast<intptr_t>(c + 13));
  std::memcpy(c + 9, &rel, 4);
#endif
  FlushInstructionCache(GetCurrentProcess(), c, sizeof t->Code);
}

} // namespace

TWindowSubclass::TThunk *TWindowSubclass::TThunk::FreeList = nullptr;

TWindowSubclass::TThunk *TWindowSubclass::TThunk::Allocate() {
  if (!FreeList) {
    // One executable page holds many blocks.
    const size_t page = 4096, n = page / sizeof(TThunk);
    auto *blocks = static_cast<TThunk *>(VirtualAlloc(nullptr, page, MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    if (!blocks) return nullptr;
    for (size_t i = 0; i < n; ++i) {
      blocks[i].NextFree = FreeList;
      FreeList = &blocks[i];
    }
  }
  TThunk *t = FreeList;
  FreeList = t->NextFree;
  *t = TThunk{};
  WriteCode(t, reinterpret_cast<void *>(&TThunk::Proc));
  return t;
}

void TWindowSubclass::TThunk::Free(TThunk *t) {
  if (t->Depth > 0) {
    t->Released = true;
    return;
  }
  t->Owner = nullptr;
  t->NextFree = FreeList;
  FreeList = t;
}

LRESULT CALLBACK TWindowSubclass::TThunk::Proc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *t = reinterpret_cast<TThunk *>(self);
  ++t->Depth;
  LRESULT result;
  if (TWindowSubclass *owner = t->Owner) {
    TMessage m{msg, wParam, lParam, 0};
    TWndMethod handler = owner->handler_; // the object may go while handling
    handler(m);
    result = m.Result;
  } else {
    result = t->Forward(msg, wParam, lParam);
  }
  --t->Depth;
  if (msg == WM_NCDESTROY) {
    // The window is gone: nothing can call the block any more.
    if (t->Owner) {
      t->Owner->wnd_ = nullptr;
      t->Owner->thunk_ = nullptr;
    }
    t->Released = true;
  }
  if (t->Released && t->Depth == 0) {
    t->Released = false;
    Free(t);
  }
  return result;
}

void TWindowSubclass::Install(HWND wnd, TWndMethod handler) {
  Restore();
  if (!wnd || !IsWindow(wnd)) return;
  TThunk *t = TThunk::Allocate();
  if (!t) return;
  unicode_ = IsWindowUnicode(wnd) != FALSE;
  t->Owner = this;
  t->Wnd = wnd;
  t->Unicode = unicode_;
  handler_ = std::move(handler);
  auto proc = reinterpret_cast<LONG_PTR>(t->Code);
  previous_ = reinterpret_cast<WNDPROC>(unicode_ ? SetWindowLongPtrW(wnd, GWLP_WNDPROC, proc)
                                                 : SetWindowLongPtrA(wnd, GWLP_WNDPROC, proc));
  t->Previous = previous_;
  thunk_ = t;
  wnd_ = wnd;
}

void TWindowSubclass::Restore() {
  if (!thunk_) {
    wnd_ = nullptr;
    return;
  }
  TThunk *t = thunk_;
  thunk_ = nullptr;
  auto current = unicode_ ? GetWindowLongPtrW(wnd_, GWLP_WNDPROC) : GetWindowLongPtrA(wnd_, GWLP_WNDPROC);
  t->Owner = nullptr;
  if (current == reinterpret_cast<LONG_PTR>(t->Code)) {
    if (unicode_)
      SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    else
      SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    TThunk::Free(t);
  }
  // Otherwise a later subclass calls the block: it stays, forwarding, until the window goes.
  wnd_ = nullptr;
  handler_ = nullptr;
}

void TWindowSubclass::CallPrevious(HWND wnd, TMessage &m) const {
  if (!previous_) return;
  m.Result = unicode_ ? CallWindowProcW(previous_, wnd, m.Msg, m.WParam, m.LParam)
                      : CallWindowProcA(previous_, wnd, m.Msg, m.WParam, m.LParam);
}

// TWindowProcHook -------------------------------------------------------------------------------

struct TWindowProcHook::TRoute {
  TWndMethod Handler; // empty once the hook let go
  TWndMethod Previous;
  // What is installed in the control: the route itself, so that it can be recognised later.
  struct TCall {
    std::shared_ptr<TRoute> Route;
    void operator()(TMessage &m) const {
      std::shared_ptr<TRoute> keep = Route; // the hook may go while handling
      if (keep->Handler) {
        TWndMethod handler = keep->Handler;
        handler(m);
      } else if (keep->Previous) {
        keep->Previous(m);
      }
    }
  };
};

void TWindowProcHook::Install(TControl *control, TWndMethod handler) {
  Restore();
  if (!control) return;
  route_ = std::make_shared<TRoute>(TRoute{std::move(handler), control->WindowProc});
  control->WindowProc = TRoute::TCall{route_};
  control_ = control;
}

void TWindowProcHook::Restore() {
  if (!control_) return;
  route_->Handler = nullptr;
  auto *installed = control_->WindowProc.target<TRoute::TCall>();
  if (installed && installed->Route == route_) control_->WindowProc = route_->Previous;
  control_ = nullptr;
  route_.reset();
}

void TWindowProcHook::CallPrevious(TMessage &m) const {
  if (route_ && route_->Previous) route_->Previous(m);
}

} // namespace qv
