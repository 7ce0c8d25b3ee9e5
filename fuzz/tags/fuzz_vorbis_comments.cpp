#include "fuzz/tags/FuzzInput.h"
#include "tags/OggComments.h"
#include "tags/VorbisCommentEditor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarvex::fuzz::FuzzInput input(data, size);
  tarvex::VorbisCommentEditor editor;
  if (!editor.open(input.device())) return 0;

  tarvex::TStrComments comments;
  vorbis_comment& block = editor.comments();
  for (int i = 0; i < block.comments; ++i) {
    comments.append(
        tarvex::splitComment(QByteArray(block.user_comments[i], block.comment_lengths[i])));
  }
  tarvex::OGGTag tag = tarvex::oggTagFromComments(comments);
  tag.title += QStringLiteral("x");
  vorbis_comment_clear(&block);
  vorbis_comment_init(&block);
  for (const QByteArray& comment : tarvex::commentsToWrite(tag)) {
    vorbis_comment_add(&block, comment.constData());
  }

  QBuffer output;
  output.open(QIODevice::WriteOnly);
  if (!editor.write(output)) return 0;
  output.close();

  // What the editor wrote must open again, with the comments it was given.
  output.open(QIODevice::ReadOnly);
  tarvex::VorbisCommentEditor reopened;
  if (!reopened.open(output)) __builtin_trap();
  if (reopened.comments().comments != static_cast<int>(tarvex::commentsToWrite(tag).size())) {
    __builtin_trap();
  }
  return 0;
}
