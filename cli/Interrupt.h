// Ctrl-C as a request to stop: a running split or join stops at its next buffer boundary
// (the window's Stop button), and a password prompt gives up, with the terminal's echo restored.
#pragma once

namespace partsmith::cli {

// Installs the handler for SIGINT and SIGTERM (the program's main does this once).
void InstallInterruptHandler();
[[nodiscard]] bool InterruptRequested() noexcept;
// For tests and for a host that raises the request itself.
void SetInterruptRequested(bool requested) noexcept;

} // namespace partsmith::cli
