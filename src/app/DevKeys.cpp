#include "app/DevKeys.h"

#include <SDL.h>

#include "audio/MusicChannel.h"

namespace orvane {

DevKey InterpretDevKey(const SDL_Event& event) {
  if (event.type != SDL_KEYDOWN) return {};
  const bool shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
  const double step = shift ? 10.0 : 1.0;
  switch (event.key.keysym.sym) {
    case SDLK_SPACE: return {DevAction::TogglePause};
    case SDLK_LEFT: return {DevAction::Seek, -step};
    case SDLK_RIGHT: return {DevAction::Seek, step};
    case SDLK_HOME: return {DevAction::SeekToStart};
    case SDLK_LEFTBRACKET: return {DevAction::MarkLoopStart};
    case SDLK_RIGHTBRACKET: return {DevAction::MarkLoopEnd};
    case SDLK_BACKSPACE: return {DevAction::ClearLoop};
    case SDLK_TAB: return {DevAction::ToggleOverlay};
    default: return {};
  }
}

namespace {

void ApplyMarks(MusicChannel& music, const LoopMarks& marks) {
  if (marks.start && marks.end && *marks.start < *marks.end) {
    music.SetLoop(*marks.start, *marks.end);
  } else {
    music.ClearLoop();
  }
}

}  // namespace

void ApplyDevKey(const DevKey& key, MusicChannel& music, LoopMarks& marks) {
  const double now = music.PositionSeconds();
  switch (key.action) {
    case DevAction::TogglePause:
      if (music.paused()) {
        music.Resume();
      } else {
        music.Pause();
      }
      break;
    case DevAction::Seek: music.Seek(now + key.seconds); break;
    case DevAction::SeekToStart: music.Seek(0.0); break;
    case DevAction::MarkLoopStart:
      marks.start = now;
      // A start past the end would make no loop: the end is dropped, to be set again.
      if (marks.end && *marks.end <= now) marks.end.reset();
      ApplyMarks(music, marks);
      break;
    case DevAction::MarkLoopEnd:
      marks.end = now;
      if (!marks.start || *marks.start >= now) marks.start = 0.0;
      ApplyMarks(music, marks);
      break;
    case DevAction::ClearLoop:
      marks = {};
      music.ClearLoop();
      break;
    case DevAction::ToggleOverlay:
    case DevAction::None: break;
  }
}

}  // namespace orvane
