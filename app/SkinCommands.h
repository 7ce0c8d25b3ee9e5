#pragma once

#include <QString>
#include <optional>

#include "app/Command.h"

namespace tarvex {

// The command a click on the named skin object gives; names compare exactly,
// case included. nullopt: the object carries no command.
std::optional<Command> commandForSkinObject(const QString& name);

}  // namespace tarvex
