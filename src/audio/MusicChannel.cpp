#include "audio/MusicChannel.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace orvane {

double MusicChannel::MonotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::unique_ptr<MusicChannel> MusicChannel::Load(const std::filesystem::path& path, Output output, Clock clock) {
  std::optional<MusicTrack> track = DecodeMusicFile(path);
  if (!track) return nullptr;
  return std::unique_ptr<MusicChannel>(new MusicChannel(path, std::move(*track), output, std::move(clock)));
}

MusicChannel::MusicChannel(std::filesystem::path path, MusicTrack track, Output output, Clock clock)
    : path_(std::move(path)),
      track_(std::move(track)),
      output_(output),
      clock_(std::move(clock)),
      playback_(track_.sampleRate, static_cast<int64_t>(track_.samples.size())) {}

MusicChannel::~MusicChannel() {
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

void MusicChannel::FillDeviceBuffer(void* self, uint8_t* stream, int bytes) {
  auto& channel = *static_cast<MusicChannel*>(self);
  const auto wanted = static_cast<size_t>(bytes) / sizeof(float);
  const auto start = static_cast<size_t>(channel.handed_.load());
  const size_t available = start < channel.track_.samples.size() ? channel.track_.samples.size() - start : 0;
  const size_t copied = std::min(wanted, available);
  if (copied > 0) std::memcpy(stream, channel.track_.samples.data() + start, copied * sizeof(float));
  std::memset(stream + copied * sizeof(float), 0, (wanted - copied) * sizeof(float));
  // Silence after the end counts too: the clock runs on until the last sample has been heard.
  const int64_t handed = channel.handed_.fetch_add(static_cast<int64_t>(wanted)) + static_cast<int64_t>(wanted);
  channel.playback_.OnSamplesHanded(handed, channel.clock_());
}

void MusicChannel::Play(double from) {
  if (playback_.started()) return;
  from = std::clamp(from, 0.0, DurationSeconds());
  handed_.store(static_cast<int64_t>(std::llround(from * track_.sampleRate)));
  if (output_ == Output::DefaultDevice && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    SDL_AudioSpec wanted{};
    wanted.freq = track_.sampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 1;
    wanted.samples = 1024;
    wanted.callback = &MusicChannel::FillDeviceBuffer;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ != 0) {
      deviceBufferSamples_ = obtained.samples;
      playback_.StartWithDevice(deviceBufferSamples_);
      playback_.Seek(from, clock_());
      SDL_PauseAudioDevice(device_, 0);
      return;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  playback_.StartWithoutDevice(clock_());
  playback_.Seek(from, clock_());
}

bool MusicChannel::IsActive() {
  PositionSeconds();  // passes a loop's end or holds at the end first
  return playback_.IsActive(clock_());
}

double MusicChannel::PositionSeconds() {
  const double position = playback_.Position(clock_());
  if (loop_ && position >= loop_->end) {
    Seek(loop_->start);
    return playback_.Position(clock_());
  }
  if (holdAtEnd_ && !paused() && playback_.started() && position >= DurationSeconds()) {
    Pause();
    return playback_.Position(clock_());
  }
  return position;
}

void MusicChannel::Seek(double seconds) {
  const double target = std::clamp(seconds, 0.0, DurationSeconds());
  // The device's read position and the clock move together: no buffer is handed in between.
  if (device_ != 0) SDL_LockAudioDevice(device_);
  handed_.store(static_cast<int64_t>(std::llround(target * track_.sampleRate)));
  playback_.Seek(target, clock_());
  if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

void MusicChannel::Pause() {
  if (!playback_.started() || paused()) return;
  if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
  playback_.Pause(clock_());
}

void MusicChannel::Resume() {
  if (!paused()) return;
  // At the very end there is nothing left to resume into: start over.
  if (playback_.Position(clock_()) >= DurationSeconds()) Seek(0.0);
  const double position = playback_.Position(clock_());
  if (device_ != 0) SDL_LockAudioDevice(device_);
  handed_.store(static_cast<int64_t>(std::llround(position * track_.sampleRate)));
  playback_.Resume(clock_());
  if (device_ != 0) SDL_UnlockAudioDevice(device_);
  if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

void MusicChannel::SetLoop(double start, double end) {
  start = std::clamp(start, 0.0, DurationSeconds());
  end = std::clamp(end, 0.0, DurationSeconds());
  if (!(start < end)) return;
  loop_ = Range{start, end};
}

}  // namespace orvane
