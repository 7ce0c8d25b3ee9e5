#pragma once

namespace tarvex {

// Every command of the main window, whether it comes from a skin object or a
// popup menu item.
enum class Command {
  FileMenu,
  ActionMenu,
  HelpMenu,
  Settings,
  AddFile,
  AddFolder,
  MoveUp,
  MoveDown,
  RemoveFromSkin,  // removes a range when the segment list has the focus
  RemoveFromMenu,  // removes a source only
  Clear,
  Play,
  StopPlayback,  // the skin's "stop": playback only
  Stop,          // the skin's "Stop" and the menus' "Stop": playback and job
  StepBack,
  StepForward,
  SplitFromSkin,  // opens the output folder afterwards
  SplitFromMenu,
  Join,
  Begin,
  End,
  Ok,
  TagEditor,
  FindSilences,  // marks the ranges between the selected source's pauses
  SaveMarks,     // the selected source's ranges as a CUE sheet beside it
  LoadMarks,     // ranges from a CUE sheet
  Help,
  WebSite,
  About,
  Exit,
};

// What the main window knows when it decides whether a command may run.
struct CommandContext {
  bool jobRunning = false;
  bool isPlaying = false;
  bool segmentFocus = false;
  bool hasSources = false;
  bool adding = false;  // an add is still probing files (it pumps the event queue)
};

// True when the command does nothing in this situation (no message is shown).
bool isRefused(Command command, const CommandContext& context);

}  // namespace tarvex
