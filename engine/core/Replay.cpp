#include "core/Replay.h"

#include "core/Window.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace Varn
{

namespace
{

constexpr const char* MAGIC = "corvalune-replay 1";

const SteadyClock steadyClock;

const char* EventName(char kind)
{
    switch (kind)
    {
    case 't':
        return "a clock reading";
    case 'r':
        return "a timer restart";
    default:
        return "a step's input";
    }
}

template <typename T> bool ReadNumber(std::istringstream& words, T& value)
{
    std::string word;
    words >> word;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return !word.empty() && error == std::errc() && end == word.data() + word.size();
}

} // namespace

// The input seam's end during a recording or a playback.
class Replay::Input final : public IInputSource
{
public:
    Input(Replay& replay, std::unique_ptr<IInputSource> live, const Window& window)
        : replay(replay), live(std::move(live)), window(window)
    {
    }

    InputSample Sample() override
    {
        if (replay.recording)
        {
            InputSample sample = live->Sample();
            sample.cursorX -= window.viewportX;
            sample.cursorY -= window.viewportY;
            replay.WriteSample(sample);
            sample.cursorX += window.viewportX;
            sample.cursorY += window.viewportY;
            return sample;
        }
        std::string rest;
        InputSample sample;
        if (replay.Next('i', rest) && replay.ReadSample(rest, sample))
        {
            sample.cursorX += window.viewportX;
            sample.cursorY += window.viewportY;
            return sample;
        }
        if (!handedOver)
        {
            // Presses latched while the replay played were not the player's to make.
            handedOver = true;
            live->Sample();
        }
        return live->Sample();
    }

    void StopPadVibration() override { live->StopPadVibration(); }
    void HandleEvent(const SDL_Event& event) override { live->HandleEvent(event); }

private:
    Replay& replay;
    std::unique_ptr<IInputSource> live;
    const Window& window;
    bool handedOver = false;
};

Replay::Replay(const std::string& path_, bool recording_, const IClock* clock_)
    : clock(clock_ != nullptr ? *clock_ : steadyClock), recording(recording_), path(path_)
{
}

Replay::~Replay() = default;

std::unique_ptr<Replay> Replay::Record(const std::string& path, const Header& header, std::string& problem,
                                       const IClock* clock)
{
    std::unique_ptr<Replay> replay(new Replay(path, true, clock));
    replay->head = header;
    replay->firstReading = replay->clock.NowNanoseconds();
    replay->out.open(path, std::ios::binary | std::ios::trunc);
    replay->out << MAGIC << "\nseed " << header.seed << "\nscene " << header.scene << "\npicture "
                << header.pictureWidth << " " << header.pictureHeight << "\n";
    if (!replay->out)
    {
        problem = "cannot write the replay " + path;
        return nullptr;
    }
    return replay;
}

std::unique_ptr<Replay> Replay::Play(const std::string& path, std::string& problem, const IClock* clock)
{
    std::unique_ptr<Replay> replay(new Replay(path, false, clock));
    std::ifstream& in = replay->in;
    in.open(path, std::ios::binary);
    if (!in)
    {
        problem = "cannot read the replay " + path;
        return nullptr;
    }
    std::string magic, seed, scene, picture;
    std::getline(in, magic);
    std::getline(in, seed);
    std::getline(in, scene);
    std::getline(in, picture);
    Header& head = replay->head;
    std::istringstream seedWords(seed.size() > 5 ? seed.substr(5) : "");
    std::istringstream pictureWords(picture.size() > 8 ? picture.substr(8) : "");
    if (magic != MAGIC || seed.rfind("seed ", 0) != 0 || scene.rfind("scene ", 0) != 0 ||
        picture.rfind("picture ", 0) != 0 || !ReadNumber(seedWords, head.seed) ||
        !ReadNumber(pictureWords, head.pictureWidth) || !ReadNumber(pictureWords, head.pictureHeight) ||
        head.pictureWidth <= 0 || head.pictureHeight <= 0 || scene.size() == 6)
    {
        problem = path + " is not a replay: it must begin with \"" + MAGIC +
                  "\" and lines for the seed, the scene and the picture's size";
        return nullptr;
    }
    head.scene = scene.substr(6);
    replay->pendingLine = 4;
    replay->lastReading = replay->clock.NowNanoseconds();
    replay->firstReading = replay->lastReading;
    replay->ReadAhead();
    return replay;
}

void Replay::ReadAhead() const
{
    while (std::getline(in, pending))
    {
        ++pendingLine;
        if (!pending.empty())
        {
            return;
        }
    }
    pending.clear();
    ended = true;
    liveOffset = lastReading - clock.NowNanoseconds();
}

bool Replay::Next(char kind, std::string& rest) const
{
    if (ended)
    {
        return false;
    }
    const bool bare = pending.size() == 1;
    if (pending[0] != kind || (!bare && pending[1] != ' '))
    {
        Stop("line " + std::to_string(pendingLine) + " of " + path + " is \"" + pending.substr(0, 40) +
             "\" where the run asks for " + EventName(kind) + ": the game has not run as it was recorded");
        return false;
    }
    rest = bare ? std::string() : pending.substr(2);
    line = pendingLine;
    ReadAhead();
    return true;
}

void Replay::Stop(const std::string& why) const
{
    problem = why;
    ended = true;
    liveOffset = lastReading - clock.NowNanoseconds();
}

int64_t Replay::NowNanoseconds() const
{
    const int64_t now = clock.NowNanoseconds();
    if (recording)
    {
        out << "t " << now - firstReading << "\n";
        return now;
    }
    std::string rest;
    int64_t recorded = 0;
    if (Next('t', rest))
    {
        std::istringstream words(rest);
        if (ReadNumber(words, recorded) && firstReading + recorded >= lastReading)
        {
            return lastReading = firstReading + recorded;
        }
        Stop("line " + std::to_string(line) + " of " + path +
             " is not a clock reading after the one before: \"t " + rest.substr(0, 30) + "\"");
    }
    return std::max(now + liveOffset, lastReading);
}

std::unique_ptr<IInputSource> Replay::WrapInput(std::unique_ptr<IInputSource> live, const Window& window)
{
    return std::make_unique<Input>(*this, std::move(live), window);
}

void Replay::RecordRestart()
{
    if (recording)
    {
        out << "r\n";
    }
}

bool Replay::TakeRestart()
{
    std::string rest;
    return !recording && !ended && pending[0] == 'r' && Next('r', rest);
}

void Replay::Flush()
{
    if (recording)
    {
        out.flush();
    }
}

void Replay::WriteSample(const InputSample& sample)
{
    ++steps;
    out << "i " << sample.cursorX << " " << sample.cursorY << " ";
    bool first = true;
    for (int code = 0; code < 256; ++code)
    {
        if (sample.keys[code])
        {
            out << (first ? "" : ",") << code;
            first = false;
        }
    }
    if (first)
    {
        out << "-";
    }
    if (sample.padConnected)
    {
        const PadState& pad = sample.pad;
        out << " p " << pad.buttons << " " << int(pad.leftTrigger) << " " << int(pad.rightTrigger) << " "
            << pad.thumbLX << " " << pad.thumbLY << " " << pad.thumbRX << " " << pad.thumbRY;
    }
    out << "\n";
}

bool Replay::ReadSample(const std::string& rest, InputSample& sample)
{
    std::istringstream words(rest);
    std::string keys, padMark;
    bool good = ReadNumber(words, sample.cursorX) && ReadNumber(words, sample.cursorY) && (words >> keys);
    if (good && keys != "-")
    {
        std::istringstream codes(keys);
        for (std::string code; good && std::getline(codes, code, ',');)
        {
            int value = -1;
            std::istringstream one(code);
            good = ReadNumber(one, value) && value >= 0 && value < 256;
            if (good)
            {
                sample.keys.set(static_cast<std::size_t>(value));
            }
        }
    }
    if (good && words >> padMark)
    {
        PadState& pad = sample.pad;
        int leftTrigger = 0, rightTrigger = 0;
        good = padMark == "p" && ReadNumber(words, pad.buttons) && ReadNumber(words, leftTrigger) &&
               ReadNumber(words, rightTrigger) && ReadNumber(words, pad.thumbLX) &&
               ReadNumber(words, pad.thumbLY) && ReadNumber(words, pad.thumbRX) &&
               ReadNumber(words, pad.thumbRY) && leftTrigger >= 0 && leftTrigger < 256 && rightTrigger >= 0 &&
               rightTrigger < 256;
        pad.leftTrigger = static_cast<uint8_t>(leftTrigger);
        pad.rightTrigger = static_cast<uint8_t>(rightTrigger);
        sample.padConnected = true;
    }
    if (!good)
    {
        Stop("line " + std::to_string(line) + " of " + path + " is not a step's input: \"i " +
             rest.substr(0, 40) + "\"");
        return false;
    }
    ++steps;
    return true;
}

} // namespace Varn
