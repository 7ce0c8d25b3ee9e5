#include <QApplication>
#include <QDir>

#include "app/ApplicationInfo.h"
#include "app/MainSettings.h"
#include "app/Tfm_main.h"
#include "platform/ConfigLocation.h"
#include "platform/SingleInstance.h"
#include "platform/window/QtPlatformServices.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  tarvex::nameApplication();

  tarvex::SingleInstance instance(tarvex::kApplicationTitle);
  if (!instance.tryAcquire()) return 0;

  tarvex::QtPlatformServices platform;
  tarvex::MainWindowEnvironment environment;
  environment.platform = &platform;
  environment.settingsFilePath = tarvex::settingsFilePath();
  environment.programFolder =
      tarvex::withTrailingSeparator(QDir::toNativeSeparators(QApplication::applicationDirPath()));
  environment.defaultOutputDir = tarvex::defaultOutputDir();

  tarvex::Tfm_main mainWindow(environment);
  mainWindow.show();
  return QApplication::exec();
}
