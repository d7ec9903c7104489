#include "ui/single_window.h"

#include <gio/gio.h>

#include <cstdio>
#include <utility>

namespace parlavo {

namespace {

constexpr const char* BUS_NAME = PARLAVO_APP_ID;
constexpr const char* OBJECT_PATH = "/example/parlavo/Parlavo";
constexpr const char* INTERFACE = PARLAVO_APP_ID;
constexpr const char* INTERFACE_XML =
    "<node><interface name='" PARLAVO_APP_ID "'>"
    "<method name='Show'><arg type='b' name='translate_selection'/><arg type='s' name='startup_id'/></method>"
    "</interface></node>";
// A window that does not answer in this time is taken for hung: this start
// then opens a window of its own.
constexpr int HAND_OVER_TIMEOUT_MS = 5000;

// The bus's answers to RequestName.
constexpr guint32 PRIMARY_OWNER = 1;
constexpr guint32 ALREADY_OWNER = 4;

void Warn(const char* what, GError* error) {
  std::fprintf(stderr, "parlavo: %s: %s\n", what, error->message);
  g_error_free(error);
}

}  // namespace

SingleWindow::~SingleWindow() { Release(); }

void SingleWindow::Release() {
  if (m_bus == nullptr) return;
  if (m_object != 0) g_dbus_connection_unregister_object(m_bus, m_object);
  m_object = 0;
  g_object_unref(m_bus);
  m_bus = nullptr;
}

// GDBus passes on only calls of Show with its arguments, as INTERFACE_XML
// declares it.
void SingleWindow::OnMethodCall(GDBusConnection*, const char*, const char*, const char*, const char*,
                                GVariant* parameters, GDBusMethodInvocation* invocation, void* self) {
  WindowRequest request;
  const char* startupId = "";
  gboolean translateSelection = FALSE;
  g_variant_get(parameters, "(b&s)", &translateSelection, &startupId);
  request.translateSelection = translateSelection != FALSE;
  request.startupId = startupId;
  // The caller waits for the answer, not for the translation.
  g_dbus_method_invocation_return_value(invocation, nullptr);
  static_cast<SingleWindow*>(self)->m_handler(request);
}

bool SingleWindow::Claim(const WindowRequest& request, Handler handler) {
  m_handler = std::move(handler);
  GError* error = nullptr;
  m_bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  if (m_bus == nullptr) {
    // No session bus (a bare X server, a test machine): a lone window.
    g_error_free(error);
    return true;
  }

  // The object is there before the name, so that no request finds the name
  // without it.
  GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(INTERFACE_XML, nullptr);
  static const GDBusInterfaceVTable VTABLE = {&SingleWindow::OnMethodCall, nullptr, nullptr, {}};
  m_object = g_dbus_connection_register_object(m_bus, OBJECT_PATH, node->interfaces[0], &VTABLE, this, nullptr,
                                               &error);
  g_dbus_node_info_unref(node);
  if (m_object == 0) {
    Warn("cannot offer the window on the session bus", error);
    Release();
    return true;
  }

  GVariant* reply = g_dbus_connection_call_sync(
      m_bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
      g_variant_new("(su)", BUS_NAME, G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
      &error);
  if (reply == nullptr) {
    Warn("cannot claim the window's name on the session bus", error);
    Release();
    return true;
  }
  guint32 answer = 0;
  g_variant_get(reply, "(u)", &answer);
  g_variant_unref(reply);
  if (answer == PRIMARY_OWNER || answer == ALREADY_OWNER) return true;

  // Another program's window holds the name: it takes the request.
  g_dbus_connection_unregister_object(m_bus, m_object);
  m_object = 0;
  reply = g_dbus_connection_call_sync(m_bus, BUS_NAME, OBJECT_PATH, INTERFACE, "Show",
                                      g_variant_new("(bs)", request.translateSelection, request.startupId.c_str()),
                                      nullptr, G_DBUS_CALL_FLAGS_NONE, HAND_OVER_TIMEOUT_MS, nullptr, &error);
  Release();
  if (reply == nullptr) {
    Warn("the running window did not answer, opening another", error);
    return true;
  }
  g_variant_unref(reply);
  return false;
}

}  // namespace parlavo
