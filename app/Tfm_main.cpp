#include "app/Tfm_main.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <utility>

#include "app/ApplicationInfo.h"
#include "app/ConversionProgress.h"
#include "app/DialogStyle.h"
#include "app/FormatSelector.h"
#include "app/HelpCommands.h"
#include "app/InstructionsText.h"
#include "app/JobDisplay.h"
#include "app/JobProgress.h"
#include "app/JoinOutputChoice.h"
#include "app/ListKeys.h"
#include "app/MainSettingsStore.h"
#include "app/MarkCommands.h"
#include "app/MenuKeys.h"
#include "app/OutputFormats.h"
#include "app/PreviewPlayer.h"
#include "app/SkinCommands.h"
#include "app/Tfm_about.h"
#include "app/WaveformView.h"
#include "app/dialogs/Tfm_dir.h"
#include "app/dialogs/Tfm_id3.h"
#include "app/dialogs/Tfm_set.h"
#include "app/dialogs/Tfm_silence.h"
#include "app/views/ListRows.h"
#include "app/views/SegmentList.h"
#include "app/views/SourceList.h"
#include "components/audio/AudioFile2.h"
#include "components/audio/AudioTransform2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "components/output/AudioPlayer2.h"
#include "components/skin/SkinWidget.h"
#include "platform/ErrorBoundary.h"
#include "platform/ShellLaunch.h"
#include "player/PlaybackSession.h"
#include "processing/EncoderProfile.h"
#include "processing/JobPlanning.h"
#include "sources/TimeFormat.h"

namespace tarvex {
namespace {

QTreeWidget* createList(QWidget* parent, const char* name, const QStringList& columns,
                        const QList<int>& widths) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(QLatin1String(name));
  list->setColumnCount(static_cast<int>(columns.size()));
  list->setHeaderLabels(columns);
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSortingEnabled(false);
  list->header()->setSectionsClickable(false);
  list->header()->setSectionsMovable(false);
  list->header()->setStretchLastSection(false);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  for (int column = 0; column < widths.size(); ++column) {
    list->setColumnWidth(column, widths[column]);
    if (widths[column] == 0) list->setColumnHidden(column, true);
  }
  return list;
}

}  // namespace

Tfm_main::Tfm_main(MainWindowEnvironment environment, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      environment_(std::move(environment)),
      settings_(environment_.settingsFilePath) {
  setObjectName(QStringLiteral("fm_main"));
  setWindowTitle(kMainWindowCaption);
  setFixedSize(kClientWidth, kClientHeight);

  skin_ = new skin::SkinWidget(this);
  skin_->setObjectName(QStringLiteral("Skin1"));
  skin_->setGeometry(0, 0, kClientWidth, kClientHeight);
  connect(skin_, &skin::SkinWidget::OnClick, this, &Tfm_main::Skin1Click);

  lv_ = createList(this, "lv", {QStringLiteral("File name"), QStringLiteral("Time")}, {120, 0});
  lvTime_ = createList(
      this, "lv_time",
      {QStringLiteral("Begin Time - End"), QStringLiteral("Length"), QStringLiteral("Status")},
      {100, 55, 60});

  cbFormat_ = new FormatSelector(outputFormatCaptions(), outputFormatFaces(), this);
  cbFormat_->setObjectName(QStringLiteral("cb_format"));
  cbFormat_->setCurrentIndex(0);
  connect(cbFormat_, &QComboBox::currentIndexChanged, this, [this](int index) {
    mainSettings_.formatIndex = knownFormatIndex(index);
    showPlannedRows();
  });

  sm_ = new QPlainTextEdit(this);
  sm_->setObjectName(QStringLiteral("sm"));
  sm_->setReadOnly(true);
  sm_->setEnabled(false);
  sm_->setLineWrapMode(QPlainTextEdit::NoWrap);
  sm_->setPlainText(instructionsLines().join(QLatin1Char('\n')));
  QFont instructionsFont(QStringLiteral("Arial"));
  instructionsFont.setPixelSize(13);
  instructionsFont.setItalic(true);
  sm_->setFont(instructionsFont);

  menus_ = createPopupMenus(this, [this](Command command) { runCommand(command); });
  const auto popUpListMenu = [this](QTreeWidget* list) {
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
      menus_.p_lv->popup(list->viewport()->mapToGlobal(at));
    });
  };
  popUpListMenu(lv_);
  popUpListMenu(lvTime_);

  reader_ = std::make_unique<AudioFile2>();
  writer_ = std::make_unique<AudioFile2>();
  encoder_ = std::make_unique<Mp3LameEncoder>();
  transform_ = std::make_unique<AudioTransform2>();
  player_ = std::make_unique<AudioPlayer2>(environment_.soundOutput);
  playback_ = std::make_unique<PlaybackSession>(*player_);

  PlatformServices& platform = *environment_.platform;
  segmentList_ = std::make_unique<SegmentList>(
      SegmentListParts{*this, platform, *lv_, *lvTime_, mainSettings_, sources_},
      [this] { sourceList_->lvClick(); });
  previewPlayer_ = std::make_unique<PreviewPlayer>(
      PreviewPlayerParts{*this, platform, *lv_, *lvTime_, mainSettings_, sources_, *segmentList_,
                         *playback_},
      [this] { return jobRunning(); });
  // The folder dialog comes first: the settings dialog opens it from its "...".
  fmDir_ = new Tfm_dir(settings_, *environment_.platform, this);
  SettingsDialogHooks hooks;
  hooks.checkMp3 = [this](int rate, int kbps, int mode) {
    return writer_->CheckMp3Format(rate, kbps, mode);
  };
  hooks.checkOgg = [this](int rate, int channels, int kbps, int minKbps, int maxKbps) {
    return writer_->CheckOggFormat(rate, channels, kbps, minKbps, maxKbps);
  };
  hooks.validateCommandLine = [](const QString& text) {
    tarvex::Mp3LameEncoder::validateCommandLine(text);
  };
  hooks.lvClick = [this] { sourceList_->lvClick(); };
  fmSet_ = new Tfm_set(mainSettings_, settings_, *environment_.platform, *fmDir_, std::move(hooks),
                       this);
  fmAbout_ = new Tfm_about(*environment_.platform, this);
  SourceCaptions captions;
  captions.read = [this] {
    QStringList texts;
    for (const SourceRecord& source : sources_.all()) texts << source.caption;
    return texts;
  };
  captions.readTags = [this] { return sources_.tags(); };
  captions.writeTags = [this](const std::vector<AudioFileinfo>& tags) {
    sources_.setTags(tags);
    sourceList_->refreshCaptions();
  };
  fmId3_ = new Tfm_id3(std::move(captions), this);

  SourceListServices services;
  services.stopPlayback = [this] { previewPlayer_->Stop(); };
  services.isPlaying = [this] { return previewPlayer_->IsPlaying(); };
  services.playedRow = [this] { return previewPlayer_->PlaySource(); };
  services.playedRowMoved = [this](int row) { previewPlayer_->FollowPlayedRow(row); };
  services.chooseFolder = [this] {
    fmDir_->setWindowTitle(kAddFolderCaption);
    return fmDir_->exec() == QDialog::Accepted ? fmDir_->chosenFolder : QString();
  };
  services.expandFiles = [this](const QStringList& files) {
    return marks_->expandCueSheets(files);
  };
  services.takeMarks = [this](SourceRecord& record) { marks_->takeCueMarks(record); };
  services.jobRunning = [this] { return jobRunning(); };
  sourceList_ = std::make_unique<SourceList>(
      SourceListParts{*this, platform, *lv_, *sm_, mainSettings_, sources_, *segmentList_},
      std::move(services));
  marks_ = std::make_unique<MarkCommands>(MarkCommandsParts{
      *this, platform, *lv_, mainSettings_, sources_, *sourceList_, *segmentList_, settings_});
  waveform_ = std::make_unique<WaveformView>(*lv_, mainSettings_, sources_, *previewPlayer_);

  connect(lv_, &QTreeWidget::itemClicked, this, [this] { sourceList_->lvClick(); });
  connect(lvTime_, &QTreeWidget::itemClicked, this, [this] { segmentList_->lv_timeClick(); });
  connect(lvTime_, &QTreeWidget::itemDoubleClicked, this, [this] { segmentList_->lv_timeClick(); });
  // The mouse on the position bar "pb" drags it; other objects are not handled here.
  const auto isBar = [](const skin::SkinObject* source) {
    return source != nullptr && source->name() == QLatin1String("pb");
  };
  connect(skin_, &skin::SkinWidget::OnMouseDown, this, [this, isBar](skin::SkinObject* source) {
    if (isBar(source)) previewPlayer_->BarMouseDown();
  });
  connect(skin_, &skin::SkinWidget::OnMouseUp, this, [this, isBar](skin::SkinObject* source) {
    if (isBar(source)) previewPlayer_->BarMouseUp();
  });
  connect(skin_, &skin::SkinWidget::OnScrollTrack, this, [this, isBar](skin::SkinObject* source) {
    if (isBar(source)) previewPlayer_->BarScrollTrack();
  });
  // A keyboard step on the bar is a drag of one step: the time shows, playback moves.
  connect(skin_, &skin::SkinWidget::OnKeyMove, this, [this, isBar](skin::SkinObject* source) {
    if (!isBar(source)) return;
    previewPlayer_->BarMouseDown();
    previewPlayer_->BarScrollTrack();
    previewPlayer_->BarMouseUp();
  });
  placeInTabOrder();
  new ListKeys(*lv_, [this] { sourceList_->lvClick(); });
  new ListKeys(*lvTime_, [this] { segmentList_->lv_timeClick(); });
  new MenuKeys(*this, {this, skin_, lv_, lvTime_, cbFormat_},
               [this](Command command) { runCommand(command); });
  setAcceptDrops(true);
}

Tfm_main::~Tfm_main() = default;

void Tfm_main::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void Tfm_main::FormShow() {
  mainSettings_ = LoadMainSettings(settings_, environment_.defaultOutputDir);
  cbFormat_->setCurrentIndex(mainSettings_.formatIndex);

  skin_->setRequiredObjects(
      QStringLiteral("Plaskett"),
      {QStringLiteral("pb"),       QStringLiteral("timecaption"), QStringLiteral("tataltime"),
       QStringLiteral("nm"),       QStringLiteral("pbpos"),       QStringLiteral("convertpb"),
       QStringLiteral("file"),     QStringLiteral("Action"),      QStringLiteral("Help"),
       QStringLiteral("Settings"), QStringLiteral("Set"),         QStringLiteral("addfile"),
       QStringLiteral("Up"),       QStringLiteral("Down"),        QStringLiteral("Remove"),
       QStringLiteral("Clear"),    QStringLiteral("play"),        QStringLiteral("stop"),
       QStringLiteral("Stop"),     QStringLiteral("hou"),         QStringLiteral("qian"),
       QStringLiteral("Split"),    QStringLiteral("Join"),        QStringLiteral("Begin"),
       QStringLiteral("End"),      QStringLiteral("Ok"),          QStringLiteral("helpfile")});
  const QString skinProblem =
      skin_->loadSkinFile(environment_.programFolder + QStringLiteral("mp3enc.dll"));
  skin_->selectLayout(QStringLiteral("Plaskett"));
  if (!skinProblem.isEmpty() && environment_.platform != nullptr) {
    environment_.platform->showError(this, skinProblem);
  }
  // The skin objects the parts draw on (null when the skin lacks one).
  skin::SkinObject* pb = skin_->findObject(QStringLiteral("pb"));
  skin::SkinObject* timecaption = skin_->findObject(QStringLiteral("timecaption"));
  skin::SkinObject* nm = skin_->findObject(QStringLiteral("nm"));
  segmentList_->attach(pb, timecaption, skin_->findObject(QStringLiteral("tataltime")));
  previewPlayer_->attach(pb, timecaption);
  sourceList_->attach(nm);
  if (pb != nullptr) pb->setPosition(0);
  progress_ = std::make_unique<ConversionProgress>(skin_->findObject(QStringLiteral("convertpb")));
  progress_->ShowConversionProgress(0, mainSettings_.skinFlag);
  jobProgress_ = std::make_unique<JobProgress>(
      mainSettings_, skin_->findObject(QStringLiteral("pbpos")), *progress_);
  jobDisplay_ =
      std::make_unique<JobDisplay>(JobDisplayParts{*this, *environment_.platform, nm, *sourceList_,
                                                   *segmentList_, *jobProgress_},
                                   environment_.startJob);
  marks_->fm_silence().setStyleSheet(dialogStyleSheet(skin_->widgetStyleSheet()));
  marks_->setProgressDisplay(
      [this](int p) { progress_->ShowConversionProgress(p, mainSettings_.skinFlag); });
  if (skin::SkinObject* wave = skin_->findObject(QStringLiteral("wave"));
      wave != nullptr && wave->kind() == skin::SkinObjectKind::Waveform) {
    waveform_->attach(wave, pb);
  }
  segmentList_->UpdateTotalTime();
  if (timecaption != nullptr) {
    timecaption->setText(FormatTime(0));
    timecaption->redraw();
  }

  placeOwnWidgets();
  reader_->setActive(true);
  writer_->setActive(true);
  fmDir_->setStartFolder(mainSettings_.outputDir);

  segmentList_->releaseFocus();
  if (auto* bar = skin_->findObject(QStringLiteral("pb"))) bar->setPosition(0);
}

void Tfm_main::placeInTabOrder() {
  // The skin's buttons first (the menus, the left column, the job buttons,
  // the player), then the two lists and the format field.
  lv_->setAccessibleName(QStringLiteral("Files"));
  lvTime_->setAccessibleName(QStringLiteral("Pieces"));
  cbFormat_->setAccessibleName(QStringLiteral("Output format"));
  sm_->setFocusPolicy(Qt::NoFocus);
  setTabOrder(skin_, lv_);
  setTabOrder(lv_, lvTime_);
  setTabOrder(lvTime_, cbFormat_);
}

void Tfm_main::showPlannedRows() {
  // The statuses of the last run describe files written in another format:
  // the rows show the plan again, without them. A running job keeps its own.
  if (!jobDisplay_ || jobRunning() || previewPlayer_->IsPlaying()) return;
  if (!sources_.contains(selectedRow(*lv_))) return;
  segmentList_->planFor(mainSettings_.splitFunction);
}

void Tfm_main::Split(bool openFolderAfter) {
  if (!jobDisplay_ || environment_.platform == nullptr || sources_.empty()) return;
  // A stopped job's threads end within one block; the next job waits for them.
  if (jobRunning() || jobDisplay_->threadsRunning()) return;
  if (previewPlayer_->IsPlaying()) previewPlayer_->Stop();
  // The settings, the encoder profile and the tags as they stand now serve the
  // whole job; changes made while it runs apply to the next one.
  const JobSettings settings = jobSettingsOf(mainSettings_);
  const EncoderProfile profile =
      LoadEncoderProfile(settings_, cbFormat_->currentIndex(), fmSet_->commandLineText());
  SplitPlan plan = planSplit(sources_.all(), settings, profile);
  jobDisplay_->startSplit(
      std::move(plan), sources_.all(), settings,
      [this, openFolderAfter, folder = settings.outputDir](JobExecutor::JobResult result) {
        if (openFolderAfter && result != JobExecutor::JobResult::Failed) {
          openFolderOrReport(*environment_.platform, this, folder);
        }
      });
}

void Tfm_main::Join() {
  if (!jobDisplay_ || environment_.platform == nullptr) return;
  if (jobRunning() || jobDisplay_->threadsRunning()) return;
  if (previewPlayer_->IsPlaying()) previewPlayer_->Stop();
  const std::optional<JoinOutput> output = chooseJoinOutput(
      *environment_.platform, this, sources_, mainSettings_.outputDir, cbFormat_->currentIndex());
  if (!output) return;
  cbFormat_->setCurrentIndex(output->formatIndex);
  const JobSettings settings = jobSettingsOf(mainSettings_);
  const EncoderProfile profile =
      LoadEncoderProfile(settings_, output->formatIndex, fmSet_->commandLineText());
  JoinPlan plan = planJoin(sources_.all(), settings, profile, output->path);
  jobDisplay_->startJoin(std::move(plan), sources_.all(), settings,
                         [this, folder = settings.outputDir](JobExecutor::JobResult result) {
                           if (result != JobExecutor::JobResult::Failed)
                             openFolderOrReport(*environment_.platform, this, folder);
                         });
}

void Tfm_main::placeOwnWidgets() {
  setStyleSheet(skin_->widgetStyleSheet());
  const auto regionSize = [this](const char* name, QSize fallback) {
    const skin::SkinObject* region = skin_->findObject(QLatin1String(name));
    return region != nullptr && region->rect().isValid() ? region->rect().size() : fallback;
  };
  lv_->setGeometry(QRect(QPoint(120, 92), regionSize("lv", QSize(123, 208))));
  lvTime_->setGeometry(QRect(QPoint(243, 92), regionSize("lv_time", QSize(219, 208))));
  sm_->setGeometry(QRect(QPoint(120, 92), regionSize("sm", QSize(342, 208))));
  if (const skin::SkinObject* region = skin_->findObject(QStringLiteral("cb_format"));
      region != nullptr && region->rect().isValid()) {
    cbFormat_->setGeometry(region->rect());
  } else {
    cbFormat_->setGeometry(10, 330, 60, 22);
  }
  lv_->raise();
  lvTime_->raise();
  cbFormat_->raise();
  sm_->setVisible(lv_->topLevelItemCount() == 0);
  sm_->raise();
}

void Tfm_main::Skin1Click(skin::SkinObject* source) {
  if (source == nullptr) return;
  if (const auto command = commandForSkinObject(source->name())) runCommand(*command);
}

CommandContext Tfm_main::commandContext() const {
  CommandContext context;
  context.jobRunning = jobRunning();
  context.isPlaying = previewPlayer_->IsPlaying();
  context.segmentFocus = segmentList_->hasFocus();
  context.hasSources = !sources_.empty();
  context.adding = sourceList_->isAdding();
  return context;
}

void Tfm_main::popUp(QMenu* menu, int dx, int dy) {
  menu->popup(frameGeometry().topLeft() + QPoint(dx, dy));
}

void Tfm_main::runCommand(Command command) {
  runShowingErrors(environment_.platform, this, [&] { dispatchCommand(command); });
}

void Tfm_main::dispatchCommand(Command command) {
  if (isRefused(command, commandContext())) return;
  switch (command) {
    case Command::FileMenu:
      popUp(menus_.p_file, 19, 80);
      break;
    case Command::ActionMenu:
      popUp(menus_.p_action, 69, 80);
      break;
    case Command::HelpMenu:
      popUp(menus_.p_help, 276, 80);
      break;
    case Command::Settings:
      fmSet_->exec();
      break;
    case Command::AddFile:
      sourceList_->AddFiles();
      break;
    case Command::AddFolder:
      sourceList_->AddFolder();
      break;
    case Command::MoveUp:
      sourceList_->MoveSourceUp();
      break;
    case Command::MoveDown:
      sourceList_->MoveSourceDown();
      break;
    case Command::RemoveFromSkin:
      if (segmentList_->hasFocus()) {
        segmentList_->RemoveSegment();
      } else {
        sourceList_->RemoveSource();
      }
      segmentList_->UpdateTotalTime();
      break;
    case Command::RemoveFromMenu:
      sourceList_->RemoveSource();
      break;
    case Command::Clear:
      if (segmentList_->hasFocus()) {
        segmentList_->ResetSegments();
      } else {
        sourceList_->ClearSources();
      }
      segmentList_->UpdateTotalTime();
      break;
    case Command::Begin:
      segmentList_->MarkBegin();
      break;
    case Command::End:
      segmentList_->MarkEnd();
      break;
    case Command::Ok:
      segmentList_->ConfirmSegment();
      break;
    case Command::Play:
      previewPlayer_->Play();
      break;
    case Command::StopPlayback:
      previewPlayer_->Stop();
      break;
    case Command::StepBack:
      previewPlayer_->StepBack();
      break;
    case Command::StepForward:
      previewPlayer_->StepForward();
      break;
    case Command::Stop:
      marks_->stopSearch();
      if (previewPlayer_->IsPlaying()) previewPlayer_->Stop();
      if (jobRunning()) StopJob();
      break;
    case Command::SplitFromSkin:
    case Command::SplitFromMenu:
      // Only the skin's Split shows the pieces in the shell afterwards.
      Split(command == Command::SplitFromSkin);
      break;
    case Command::Join:
      Join();
      break;
    case Command::TagEditor:
      fmId3_->setStyleSheet(dialogStyleSheet(skin_->widgetStyleSheet()));
      fmId3_->exec();
      break;
    case Command::FindSilences:
      marks_->FindSilences();
      break;
    case Command::SaveMarks:
      marks_->SaveMarks();
      break;
    case Command::LoadMarks:
      marks_->LoadMarks();
      break;
    case Command::Help:
      openHelp(*environment_.platform, this, environment_.programFolder);
      break;
    case Command::WebSite:
      openWebSite(*environment_.platform, this);
      break;
    case Command::About:
      fmAbout_->setStyleSheet(dialogStyleSheet(skin_->widgetStyleSheet()));
      fmAbout_->exec();
      break;
    case Command::Exit:
      close();
      break;
    default:
      // The remaining commands arrive with the parts of the window they drive.
      break;
  }
}

bool Tfm_main::busy() const {
  return sourceList_->isAdding() || (jobDisplay_ && jobDisplay_->threadsRunning()) ||
         marks_->searching();
}

void Tfm_main::StopJob() {
  if (jobDisplay_) jobDisplay_->stop();
}

bool Tfm_main::jobRunning() const {
  return jobDisplay_ && jobDisplay_->running();
}

void Tfm_main::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void Tfm_main::dropEvent(QDropEvent* event) {
  if (isRefused(Command::AddFile, commandContext())) return;
  static const QStringList audioSuffixes{QStringLiteral("mp3"), QStringLiteral("mp2"),
                                         QStringLiteral("wav"), QStringLiteral("ogg"),
                                         QStringLiteral("wma"), QStringLiteral("flac")};
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls()) {
    const QFileInfo dropped(url.toLocalFile());
    if (dropped.isFile()) {
      files << dropped.absoluteFilePath();
    } else if (dropped.isDir()) {
      // A dropped folder gives its audio files, as Add File would take them.
      QDirIterator entries(dropped.absoluteFilePath(), QDir::Files);
      QStringList found;
      while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        if (audioSuffixes.contains(entry.suffix().toLower())) found << entry.absoluteFilePath();
      }
      found.sort();
      files << found;
    }
  }
  event->acceptProposedAction();
  sourceList_->addFiles(files);
}

void Tfm_main::closeEvent(QCloseEvent* event) {
  FormCloseQuery();
  event->accept();
}

void Tfm_main::FormCloseQuery() {
  if (jobRunning()) StopJob();
  if (!shown_) return;  // nothing was loaded, so nothing to save
  // The close goes on: the user is told the settings were not kept.
  runShowingErrors(environment_.platform, this,
                   [&] { SaveMainSettings(settings_, mainSettings_); });
}

void Tfm_main::openGivenFiles(const QStringList& files) {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  givenFiles_ << files;
  // After the current event: the window finishes showing (and loading its
  // settings) before the first add.
  QTimer::singleShot(0, this, [this] { addGivenFilesWhenAllowed(); });
}

void Tfm_main::addGivenFilesWhenAllowed() {
  if (givenFiles_.isEmpty()) return;
  if (!shown_ || isRefused(Command::AddFile, commandContext())) {
    constexpr int kRetryMs = 250;
    QTimer::singleShot(kRetryMs, this, [this] { addGivenFilesWhenAllowed(); });
    return;
  }
  const QStringList files = std::exchange(givenFiles_, {});
  sourceList_->addFiles(files);
}

}  // namespace tarvex
