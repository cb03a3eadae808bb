#pragma once

// A link thread could not be created: ownerless box, then the process ends
// with code 0.
[[noreturn]] void ThreadStartFailed();
