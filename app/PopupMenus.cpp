#include "app/PopupMenus.h"

#include <initializer_list>

namespace tarvex {
namespace {

struct MenuItem {
  const char* caption;  // nullptr: a separator
  const char* handlerName;
  Command command;
};

constexpr MenuItem separator{nullptr, nullptr, Command::Exit};

QMenu* buildMenu(QWidget* parent, const char* menuName, std::initializer_list<MenuItem> items,
                 const std::function<void(Command)>& run) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QLatin1String(menuName));
  for (const MenuItem& item : items) {
    if (item.caption == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QLatin1String(item.caption));
    action->setObjectName(QLatin1String(item.handlerName));
    const Command command = item.command;
    QObject::connect(action, &QAction::triggered, menu, [run, command] { run(command); });
  }
  return menu;
}

}  // namespace

PopupMenus createPopupMenus(QWidget* parent, const std::function<void(Command)>& run) {
  PopupMenus menus;
  menus.p_file = buildMenu(parent, "p_file",
                           {{"Add File", "AddFile1", Command::AddFile},
                            {"Add Folder", "AddFolder1", Command::AddFolder},
                            separator,
                            {"Remove", "Remove1", Command::RemoveFromMenu},
                            separator,
                            {"Exit", "Exit1", Command::Exit}},
                           run);
  menus.p_action = buildMenu(parent, "p_action",
                             {{"File Up", "FileUp1", Command::MoveUp},
                              {"File Down", "FileDown1", Command::MoveDown},
                              separator,
                              {"Remove", "Remove2", Command::RemoveFromMenu},
                              {"Clear", "Clear1", Command::Clear},
                              separator,
                              {"ID3 info", "ID31", Command::TagEditor},
                              separator,
                              {"Find silences", "FindSilences1", Command::FindSilences},
                              {"Save marks", "SaveMarks1", Command::SaveMarks},
                              {"Load marks", "LoadMarks1", Command::LoadMarks},
                              separator,
                              {"Split", "Start1", Command::SplitFromMenu},
                              {"Join", "Join1", Command::Join},
                              {"Stop", "Stop1", Command::Stop}},
                             run);
  menus.p_lv = buildMenu(parent, "p_lv",
                         {{"Add File", "AddFile2", Command::AddFile},
                          {"Add Path", "AddFolder2", Command::AddFolder},
                          separator,
                          {"Clear", "Clear2", Command::Clear},
                          {"Remove", "Remove3", Command::RemoveFromMenu},
                          separator,
                          {"ID3 info", "ID3info1", Command::TagEditor},
                          separator,
                          {"UP", "UP1", Command::MoveUp},
                          {"Down", "Down1", Command::MoveDown},
                          separator,
                          {"Play", "Play1", Command::Play},
                          {"Stop", "Stop2", Command::Stop}},
                         run);
  menus.p_help = buildMenu(parent, "p_help",
                           {{"Content", "Content1", Command::Help},
                            separator,
                            {"HomePage", "HomePage1", Command::WebSite},
                            separator,
                            {"About", "About1", Command::About}},
                           run);
  return menus;
}

}  // namespace tarvex
