#pragma once
// The keys of development mode, which move the music and with it the demo's clock: Space pauses
// and resumes, Left and Right seek 1 s (10 s with Shift), Home goes to the start, [ and ] mark a
// loop's start and end at the current time, Backspace clears the loop, Tab toggles the overlay.

#include <optional>

union SDL_Event;

namespace orvane {

class MusicChannel;

enum class DevAction { None, TogglePause, Seek, SeekToStart, MarkLoopStart, MarkLoopEnd, ClearLoop, ToggleOverlay };

struct DevKey {
  DevAction action = DevAction::None;
  double seconds = 0.0;  // for Seek: how far, negative backwards
};

// What a key press asks of development mode (None for every other event).
DevKey InterpretDevKey(const SDL_Event& event);

// The loop marks set so far: a loop plays once both are set, start before end.
struct LoopMarks {
  std::optional<double> start;
  std::optional<double> end;
};

// Applies a key to the music. ToggleOverlay and None leave it alone.
void ApplyDevKey(const DevKey& key, MusicChannel& music, LoopMarks& marks);

}  // namespace orvane
