#pragma once

#include "app/commands/AppCommands.h"

#include <functional>

namespace mervane::test {

/// The application's commands, without the network and the keychain.
class QuietCommands : public AppCommands {
public:
    using AppCommands::AppCommands;
    void retrieveExchangeRates() override { }
    void lockAtLaunch(std::function<void()> openUnlocked) override { openUnlocked(); }
};

} // namespace mervane::test
