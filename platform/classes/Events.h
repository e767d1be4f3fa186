#pragma once
// Events: optional handlers, tested before each call, bound in code or by handler name from a
// layout. A form registers its handlers by name (TComponent::RegisterHandler); the layout loader
// looks the name up and binds it when the signatures agree.
#include <functional>
#include <string>
#include <utility>

namespace qv {

class TPersistent;
using TObject = TPersistent; // the sender of an event: any persistent object

template <class... Args> class TEvent {
public:
  using THandler = std::function<void(Args...)>;

  TEvent() = default;
  TEvent(THandler h) : handler_(std::move(h)) {}

  // True when a handler is bound.
  explicit operator bool() const { return static_cast<bool>(handler_); }
  // Calls the handler if one is bound; does nothing otherwise.
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }
  TEvent &operator=(THandler h) {
    handler_ = std::move(h);
    name_.clear();
    return *this;
  }
  // Binds a handler that the layout named; HandlerName() reports the name.
  void Bind(THandler h, std::string name) {
    handler_ = std::move(h);
    name_ = std::move(name);
  }
  void Clear() {
    handler_ = nullptr;
    name_.clear();
  }
  const std::string &HandlerName() const { return name_; }
  const THandler &Handler() const { return handler_; }

private:
  THandler handler_;
  std::string name_;
};

using TNotifyEvent = TEvent<TObject *>;

} // namespace qv
