#include <QApplication>
#include <QDir>

#include "app/ApplicationInfo.h"
#include "app/GivenFiles.h"
#include "app/MainSettingsStore.h"
#include "app/Tfm_main.h"
#include "components/output/device/DeviceOutput.h"
#include "platform/ConfigLocation.h"
#include "platform/ProgramDataFolder.h"
#include "platform/SingleInstance.h"
#include "platform/window/QtPlatformServices.h"

#ifndef TARVEX_DATA_FROM_BIN
#define TARVEX_DATA_FROM_BIN "../share/tarvex"
#endif

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  tarvex::nameApplication();

  const QStringList files = tarvex::givenFiles(QApplication::arguments(), QDir::currentPath());
  tarvex::SingleInstance instance(tarvex::kApplicationTitle);
  // Another copy runs: it gets our files and we end.
  if (!instance.tryAcquire(files)) return 0;

  tarvex::QtPlatformServices platform(tarvex::kApplicationTitle);
  tarvex::MainWindowEnvironment environment;
  environment.platform = &platform;
  environment.settingsFilePath = tarvex::settingsFilePath();
  environment.programFolder = tarvex::programDataFolder(QApplication::applicationDirPath(),
                                                        QStringLiteral(TARVEX_DATA_FROM_BIN));
  environment.defaultOutputDir = tarvex::defaultOutputDir();
  // TARVEX_AUDIO_OUTPUT=null keeps the program off the sound device (scripted
  // runs, machines without one).
  if (qEnvironmentVariable("TARVEX_AUDIO_OUTPUT") != QLatin1String("null")) {
    environment.soundOutput = [] { return tarvex::defaultDeviceOutput(); };
  }

  tarvex::Tfm_main mainWindow(environment);
  instance.setFilesReceived(
      [&mainWindow](const QStringList& handed) { mainWindow.openGivenFiles(handed); });
  mainWindow.show();
  if (!files.isEmpty()) mainWindow.openGivenFiles(files);
  return QApplication::exec();
}
