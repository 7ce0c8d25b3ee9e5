#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace tarvex::mp3frames {

class Mp3FrameSource;

// The parts of a join, each indexed once.
using Mp3JoinSources = std::vector<std::unique_ptr<Mp3FrameSource>>;

// Indexes every part, in order; throws AudioError naming the first that
// cannot be copied or whose rate or channel count differs from the first's.
// `storedEdgeAudioOf`, when given, reads the edge audio a part's tag carries
// (see Mp3FrameSource).
using EdgeAudioReader = std::function<QByteArray(const QString& path)>;
Mp3JoinSources openJoinSources(const QStringList& parts,
                               const EdgeAudioReader& storedEdgeAudioOf = {});

// Joins whole MP3 files of one sample rate and channel count under `id3Tag`
// and one fresh Xing/Info + LAME header frame, copying their frames and
// encoding again only the frames at each seam (see SeamlessJoin.h): no gap,
// no click, each later file crossfaded over less than a frame with the one
// before. The output must not exist yet. Returns false when stopped; throws
// AudioError naming the file at fault; leaves no output on either.
bool joinMp3Lossless(const QStringList& parts, const QString& outputPath, const QByteArray& id3Tag,
                     const std::atomic<bool>* stopFlag = nullptr);
// The same from parts already indexed (not empty).
bool joinMp3Lossless(const Mp3JoinSources& sources, const QString& outputPath,
                     const QByteArray& id3Tag, const std::atomic<bool>* stopFlag = nullptr);

// Empty when `parts` can be joined by copying frames, else why not (naming
// the file), e.g. for a message that the join is re-encoded instead.
QString losslessJoinRefusal(const QStringList& parts);

}  // namespace tarvex::mp3frames
