#pragma once
// A control's event handler: a member function bound to its object, as a form binds its
// handlers named after control and event (Command1_Click). Two pointers, no allocation; an
// unset handler does nothing.

namespace platform {

template <typename... Args>
class EventHandler {
 public:
  EventHandler() = default;

  // `Method` of `object`, which outlives the handler.
  template <auto Method, typename Object>
  static EventHandler Bind(Object* object) {
    return EventHandler(object, [](void* target, Args... args) {
      (static_cast<Object*>(target)->*Method)(args...);
    });
  }

  // A function object that outlives the handler, such as a test's lambda.
  template <typename Callable>
  static EventHandler Of(Callable& callable) {
    return Bind<&Callable::operator()>(&callable);
  }

  void operator()(Args... args) const {
    if (call_ != nullptr) call_(object_, args...);
  }

 private:
  EventHandler(void* object, void (*call)(void*, Args...)) : object_(object), call_(call) {}

  void* object_ = nullptr;
  void (*call_)(void*, Args...) = nullptr;
};

}  // namespace platform
