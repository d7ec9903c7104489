#pragma once

#include <functional>
#include <string>

using GDBusConnection = struct _GDBusConnection;
using GDBusMethodInvocation = struct _GDBusMethodInvocation;
using GVariant = struct _GVariant;

namespace parlavo {

// What a start of the program asks of the window.
struct WindowRequest {
  bool translateSelection = false;
  // The launcher's start-up token, so that the desktop lets the window come
  // to the front (DESKTOP_STARTUP_ID or XDG_ACTIVATION_TOKEN); may be empty.
  std::string startupId;
};

// One window per user: the first program owns the application's name on the
// session bus and takes the requests of later starts. Without a session bus
// every program is a lone window.
class SingleWindow {
 public:
  using Handler = std::function<void(const WindowRequest&)>;

  SingleWindow() = default;
  ~SingleWindow();
  SingleWindow(const SingleWindow&) = delete;
  SingleWindow& operator=(const SingleWindow&) = delete;

  // False when a running window has taken `request`. Otherwise this program
  // is the window, and `handler` gets the requests of later starts.
  bool Claim(const WindowRequest& request, Handler handler);

 private:
  static void OnMethodCall(GDBusConnection*, const char*, const char*, const char*, const char*,
                           GVariant* parameters, GDBusMethodInvocation* invocation, void* self);
  void Release();

  GDBusConnection* m_bus = nullptr;
  unsigned m_object = 0;
  Handler m_handler;
};

}  // namespace parlavo
