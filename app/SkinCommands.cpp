#include "app/SkinCommands.h"

#include <array>
#include <utility>

namespace tarvex {

std::optional<Command> commandForSkinObject(const QString& name) {
  static const std::array<std::pair<const char*, Command>, 21> table = {{
      {"file", Command::FileMenu},
      {"Action", Command::ActionMenu},
      {"Help", Command::HelpMenu},
      {"Settings", Command::Settings},
      {"Set", Command::Settings},
      {"addfile", Command::AddFile},
      {"Up", Command::MoveUp},
      {"Down", Command::MoveDown},
      {"Remove", Command::RemoveFromSkin},
      {"Clear", Command::Clear},
      {"play", Command::Play},
      {"stop", Command::StopPlayback},
      {"Stop", Command::Stop},
      {"hou", Command::StepBack},
      {"qian", Command::StepForward},
      {"Split", Command::SplitFromSkin},
      {"Join", Command::Join},
      {"Begin", Command::Begin},
      {"End", Command::End},
      {"Ok", Command::Ok},
      {"helpfile", Command::Help},
  }};
  for (const auto& [objectName, command] : table) {
    if (name == QLatin1String(objectName)) return command;
  }
  return std::nullopt;
}

}  // namespace tarvex
