#include "app/Command.h"

namespace tarvex {

namespace {

// Commands that change the lists or use the shared reader wait for an add to
// finish, so rows and entries always stay aligned.
bool waitsForAdd(Command command) {
  switch (command) {
    case Command::AddFile:
    case Command::AddFolder:
    case Command::MoveUp:
    case Command::MoveDown:
    case Command::RemoveFromSkin:
    case Command::RemoveFromMenu:
    case Command::Clear:
    case Command::Play:
    case Command::SplitFromSkin:
    case Command::SplitFromMenu:
    case Command::Join:
    case Command::Begin:
    case Command::End:
    case Command::Ok:
    case Command::TagEditor:
    case Command::FindSilences:
    case Command::LoadMarks:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool isRefused(Command command, const CommandContext& context) {
  if (context.adding && waitsForAdd(command)) return true;
  switch (command) {
    // Never refused: they do not touch the lists.
    case Command::HelpMenu:
    case Command::Settings:
    case Command::Stop:
    case Command::TagEditor:
    case Command::Help:
    case Command::WebSite:
    case Command::About:
    case Command::Exit:
      return false;
    case Command::StopPlayback:
      return !context.isPlaying;
    case Command::RemoveFromMenu:
      return context.jobRunning || context.segmentFocus;
    case Command::SplitFromSkin:
    case Command::SplitFromMenu:
      return context.jobRunning || !context.hasSources;
    case Command::FileMenu:
    case Command::ActionMenu:
    case Command::AddFile:
    case Command::AddFolder:
    case Command::MoveUp:
    case Command::MoveDown:
    case Command::RemoveFromSkin:
    case Command::Clear:
    case Command::Play:
    case Command::StepBack:
    case Command::StepForward:
    case Command::Join:
    case Command::Begin:
    case Command::End:
    case Command::Ok:
    case Command::FindSilences:
    case Command::SaveMarks:
    case Command::LoadMarks:
      return context.jobRunning;
  }
  return true;
}

}  // namespace tarvex
