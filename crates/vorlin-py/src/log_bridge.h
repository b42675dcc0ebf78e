#pragma once
// Forwards the "_native" spdlog logger's events to Python's logging, logger
// "vorlin_reader._native", with the message text unchanged. Events are forwarded only on a thread
// inside an entry point (which holds the GIL); elsewhere there is no safe way to reach Python and
// they are dropped, as they would be without the bridge.

namespace vorlin_py {

// Adds the forwarding sink to the core logger; later calls do nothing. Call with the GIL held.
void attach_log_bridge();

}  // namespace vorlin_py
