#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/Command.h"
#include "app/JobStarter.h"
#include "app/PopupMenus.h"
#include "components/output/AudioOutput.h"
#include "config/MainSettings.h"
#include "config/SettingsFile.h"
#include "platform/PlatformServices.h"
#include "sources/SourceRecords.h"

class QComboBox;
class QPlainTextEdit;
class QTreeWidget;

namespace tarvex {

namespace skin {
class SkinObject;
class SkinWidget;
}  // namespace skin

class AudioFile2;
class AudioPlayer2;
class AudioTransform2;
class ConversionProgress;
class JobDisplay;
class JobProgress;
class MarkCommands;
class Mp3LameEncoder;
class PlaybackSession;
class PreviewPlayer;
class SegmentList;
class SourceList;
class Tfm_about;
class Tfm_dir;
class Tfm_id3;
class Tfm_set;
class WaveformView;

// Where the main window finds what it needs from outside.
struct MainWindowEnvironment {
  PlatformServices* platform = nullptr;
  QString settingsFilePath;  // "Quillmere.ini" with its folder
  QString programFolder;     // ends with the native separator; holds the skin and help
  QString defaultOutputDir;  // used when none is stored
  // Makes the output of each preview playback (the sound device); without
  // one, or when it makes none, the preview plays on a null output.
  std::function<std::unique_ptr<AudioOutput>()> soundOutput;
  // Hands each split or join to its executor; empty: startOnExecutor.
  JobStarter startJob;
};

// The main window: the skin face, the source and segment lists, the format
// selector and the instructions, the persisted choices, and the dispatch of
// every command.
class Tfm_main : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 547;
  static constexpr int kClientHeight = 421;

  explicit Tfm_main(MainWindowEnvironment environment, QWidget* parent = nullptr);
  ~Tfm_main() override;

  // The persisted choices: loaded when the window is first shown, edited by
  // the settings dialog, saved at close; each job takes a snapshot.
  MainSettings& mainSettings() { return mainSettings_; }
  const SettingsFile& settings() const { return settings_; }
  skin::SkinWidget& Skin1() { return *skin_; }
  QTreeWidget& lv() { return *lv_; }
  QTreeWidget& lv_time() { return *lvTime_; }
  QComboBox& cb_format() { return *cbFormat_; }
  QPlainTextEdit& sm() { return *sm_; }
  const PopupMenus& menus() const { return menus_; }
  SourceRecords& sources() { return sources_; }
  SourceList& sourceList() { return *sourceList_; }
  SegmentList& segmentList() { return *segmentList_; }
  AudioFile2& AudioFileRead() { return *reader_; }
  AudioFile2& AudioFile2write() { return *writer_; }
  tarvex::Mp3LameEncoder& mp3Encoder() { return *encoder_; }
  AudioTransform2& transform() { return *transform_; }
  AudioPlayer2& AudioPlayer21() { return *player_; }
  PreviewPlayer& previewPlayer() { return *previewPlayer_; }
  // Exists once the window has been shown.
  JobDisplay& jobDisplay() { return *jobDisplay_; }
  Tfm_set& fm_set() { return *fmSet_; }
  Tfm_dir& fm_dir() { return *fmDir_; }
  Tfm_about& fm_about() { return *fmAbout_; }
  Tfm_id3& fm_id3() { return *fmId3_; }
  MarkCommands& markCommands() { return *marks_; }
  WaveformView& waveformView() { return *waveform_; }

  // Runs once, when the window is first shown.
  void FormShow();

  // The click on a named skin object.
  void Skin1Click(skin::SkinObject* source);

  // Runs a command unless it is refused in the current situation.
  // Every command enters here; an error that ends one is shown, once.
  void runCommand(Command command);
  void dispatchCommand(Command command);

  // Asks the running job to stop and empties the progress display.
  void StopJob();
  // True from a job's start until it ends or is stopped (the job display's answer).
  bool jobRunning() const;

  // True while files are being probed or a job's threads run.
  bool busy() const;

  // Files given on the command line, here or to a later start: the window
  // comes to the front and adds them as Add File does, once adding is allowed
  // (a running job or add is waited for).
  void openGivenFiles(const QStringList& files);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FormCloseQuery();
  // The keyboard's way through the window, and the names screen readers give its widgets.
  void placeInTabOrder();
  // The selected source's rows as planned now, without a finished job's statuses.
  void showPlannedRows();
  // Split and Join: a plan from a snapshot, run by the executor.
  void Split(bool openFolderAfter);
  void Join();
  void placeOwnWidgets();
  void popUp(QMenu* menu, int dx, int dy);
  CommandContext commandContext() const;
  void addGivenFilesWhenAllowed();

  MainWindowEnvironment environment_;
  SettingsFile settings_;
  MainSettings mainSettings_;
  bool shown_ = false;
  QStringList givenFiles_;  // given files waiting for a job or an add to end

  skin::SkinWidget* skin_ = nullptr;
  QTreeWidget* lv_ = nullptr;
  QTreeWidget* lvTime_ = nullptr;
  QComboBox* cbFormat_ = nullptr;
  QPlainTextEdit* sm_ = nullptr;
  PopupMenus menus_;
  std::unique_ptr<ConversionProgress> progress_;
  std::unique_ptr<JobProgress> jobProgress_;  // the job display's, outliving it

  // The audio engine components, owned for the program's life.
  std::unique_ptr<AudioFile2> reader_;
  std::unique_ptr<AudioFile2> writer_;
  std::unique_ptr<Mp3LameEncoder> encoder_;
  std::unique_ptr<AudioTransform2> transform_;
  std::unique_ptr<AudioPlayer2> player_;
  std::unique_ptr<PlaybackSession> playback_;

  // One record per row of lv.
  SourceRecords sources_;
  std::unique_ptr<SegmentList> segmentList_;
  std::unique_ptr<SourceList> sourceList_;
  std::unique_ptr<PreviewPlayer> previewPlayer_;

  // Dialogs, created with the window and shown modally later.
  Tfm_dir* fmDir_ = nullptr;
  Tfm_set* fmSet_ = nullptr;
  Tfm_about* fmAbout_ = nullptr;
  Tfm_id3* fmId3_ = nullptr;

  // Runs split and join jobs and shows their reports; created once the
  // skin's progress objects exist, and gone (its threads ended) before the
  // parts it shows on.
  std::unique_ptr<JobDisplay> jobDisplay_;

  // Find silences, saved marks and CUE sheets; the selected source's waveform.
  std::unique_ptr<MarkCommands> marks_;
  std::unique_ptr<WaveformView> waveform_;
};

}  // namespace tarvex
