// platform::Mutex on std::mutex for the native builds, so ThreadSanitizer sees the locking as such.
#include "platform/threads.h"

#include <mutex>

namespace platform {

struct Mutex::State {
    std::mutex mutex;
};

Mutex::Mutex() : state_(new State) {}

Mutex::~Mutex() { delete state_; }

void Mutex::lock() { state_->mutex.lock(); }

void Mutex::unlock() { state_->mutex.unlock(); }

}  // namespace platform
