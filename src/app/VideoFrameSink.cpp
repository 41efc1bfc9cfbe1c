#include "app/VideoFrameSink.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orvane {
namespace {

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

// Codecs a person can play anywhere: H.264 with AAC in MP4 and Matroska, VP9 with Opus in WebM.
struct Codecs {
  std::vector<std::string> video, audio;
};

Codecs CodecsFor(const std::filesystem::path& out) {
  if (out.extension() == ".webm") {
    return {{"-c:v", "libvpx-vp9", "-b:v", "0", "-crf", "30", "-row-mt", "1", "-pix_fmt", "yuv420p"},
            {"-c:a", "libopus", "-b:a", "160k"}};
  }
  return {{"-c:v", "libx264", "-preset", "medium", "-crf", "18", "-pix_fmt", "yuv420p"},
          {"-c:a", "aac", "-b:a", "192k"}};
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

std::vector<std::string> VideoFrameSink::EncoderArguments(const std::filesystem::path& out, const FrameFormat& format,
                                                          const SoundTrack& sound) {
  std::vector<std::string> arguments{"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                                     "-f", "rawvideo", "-pix_fmt", "rgba",
                                     "-s", std::to_string(format.width) + "x" + std::to_string(format.height),
                                     "-r", Number(format.fps), "-i", "-"};
  const Codecs codecs = CodecsFor(out);
  const bool withSound = !sound.music.empty();
  if (withSound) {
    for (const std::string& argument : {std::string("-ss"), Number(sound.from), std::string("-t"),
                                        Number(sound.duration), std::string("-i"), sound.music.string()}) {
      arguments.push_back(argument);
    }
    // -shortest: a render stopped early keeps only the sound of the frames it has.
    for (const char* argument : {"-map", "0:v", "-map", "1:a", "-shortest"}) arguments.emplace_back(argument);
  }
  arguments.insert(arguments.end(), codecs.video.begin(), codecs.video.end());
  if (withSound) arguments.insert(arguments.end(), codecs.audio.begin(), codecs.audio.end());
  arguments.push_back(out.string());
  return arguments;
}

std::unique_ptr<VideoFrameSink> VideoFrameSink::Open(const std::filesystem::path& out, const FrameFormat& format,
                                                     const SoundTrack& sound, std::string& error) {
  std::error_code failure;
  if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), failure);
  if (failure) {
    error = "cannot make the folder " + out.parent_path().string() + ": " + failure.message();
    return nullptr;
  }
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno);
    return nullptr;
  }
  const std::vector<std::string> arguments = EncoderArguments(out, format, sound);
  const pid_t child = ::fork();
  if (child < 0) {
    error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
    ::close(fds[0]);
    ::close(fds[1]);
    return nullptr;
  }
  if (child == 0) {
    // Its own process group: Ctrl+C at the terminal stops orvane, which then lets ffmpeg finish
    // the file instead of having it cut off.
    ::setpgid(0, 0);
    ::dup2(fds[0], STDIN_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    std::fprintf(stderr, "orvane: cannot run ffmpeg: %s\n", std::strerror(errno));
    ::_exit(127);
  }
  ::close(fds[0]);
  // A dead encoder must fail our writes, not end the program.
  ::signal(SIGPIPE, SIG_IGN);
  const size_t frameBytes = static_cast<size_t>(format.width) * static_cast<size_t>(format.height) * 4;
  return std::unique_ptr<VideoFrameSink>(new VideoFrameSink(child, fds[1], out, frameBytes));
}

VideoFrameSink::~VideoFrameSink() {
  if (pipe_ >= 0 || encoder_ > 0) Finish();
}

bool VideoFrameSink::Write(std::span<const uint8_t> rgba) {
  if (pipe_ < 0 || rgba.size() != frameBytes_ || !WriteAll(pipe_, rgba.data(), rgba.size())) {
    if (error_.empty()) error_ = "ffmpeg stopped taking frames for " + out_.string();
    return false;
  }
  return true;
}

bool VideoFrameSink::Finish() {
  if (pipe_ >= 0) {
    ::close(pipe_);
    pipe_ = -1;
  }
  if (encoder_ > 0) {
    int status = 0;
    while (::waitpid(encoder_, &status, 0) < 0 && errno == EINTR) {
    }
    encoder_ = -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      if (error_.empty()) error_ = "ffmpeg could not write " + out_.string();
    }
  }
  return error_.empty();
}

}  // namespace orvane
