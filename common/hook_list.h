// A short fixed list of listeners a lower layer calls back: each added once, called in the order added.
#pragma once

// Meant to be filled at start-up, before the threads that call it run; a
// listener beyond Size is not added.
template <typename Argument, int Size = 4>
class HookList {
public:
    using Hook = void (*)(Argument);
    // Adding a hook twice adds it once.
    void Add(Hook hook) {
        for (auto& slot : slots_) {
            if (slot == hook) return;
            if (!slot) {
                slot = hook;
                return;
            }
        }
    }
    void Call(Argument argument) const {
        for (auto hook : slots_)
            if (hook) hook(argument);
    }

private:
    Hook slots_[Size] = {};
};
