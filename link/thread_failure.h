#pragma once
// What happens when a thread of the link cannot be started.

// A link thread could not be created: ownerless box, then the process ends
// with code 0.
[[noreturn]] void ThreadStartFailed();
