// replaybot: plays stage 1 headless in-process and writes a replay of a run that survives
// until the boss enters and destroys it, then goes on with C (stage 2 cannot start, so the
// title returns).
//
// usage: replaybot [--data DIR] [--step N] [--horizon N] [--hold-fire AGE] OUT.replay
//
// The bot searches: every `step` frames it tries each way of moving (fire held, see Search) for
// those frames, each followed by two continuations (standing still, or keeping on) up to
// `horizon` frames ahead, and keeps the move whose best continuation ends in the best state.
// A try runs in a forked copy of the process, so the game itself is the model: nothing is
// predicted that the game does not do. The search reads no clock and no random numbers; the
// same build writes the same replay.

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "movers/MoverBoss.h"
#include "movers/MoverMyShip.h"
#include "platform/Platform.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayScript.h"
#include "replay/UnpacedClock.h"
#include "stage/CStage.h"
#include "stage/MoverManager.h"

namespace {

using namespace vorlith;

constexpr ReplayControls kUp = ControlBit('U'), kDown = ControlBit('D'), kLeft = ControlBit('L'),
                         kRight = ControlBit('R'), kFire = ControlBit('Z'),
                         kContinue = ControlBit('C');
constexpr int kBossEntry = 5000;

class BotInput : public PadSource {
 public:
  PadState ReadPad() override { return PadFromControls(held); }
  ReplayControls held = 0;
};

[[noreturn]] void Die(const char* what) {
  std::perror(what);
  std::exit(1);
}

// What the bot weighs of a moment of play.
struct Moment {
  bool playing = false;
  bool shipDown = false;
  int hp = 0, hpMax = 0, shotInterval = 0;
  float x = 0, y = 0;
  bool bossInPlay = false, bossDown = false;
  int bossHp = 0, bossAge = 0;
  float bossX = 0, bossY = 0;
  int time = 0;
  int kills = 0;
};

class BotGame {
 public:
  BotGame() {
    auto platform = CreateHeadlessPlatform();
    platform->clock = std::make_unique<UnpacedClock>(std::move(platform->clock));
    app = std::make_unique<GameApp>(std::move(platform), std::vector<std::string>{"replaybot"});
    auto botInput = std::make_unique<BotInput>();
    input = botInput.get();
    app->SetPadSource(std::move(botInput));
  }

  bool IsReady() const { return app->IsReady(); }

  void Frame(ReplayControls controls) {
    input->held = controls;
    app->Update();
    app->Draw();
    played.push_back(controls);
  }

  Moment Read() const {
    Moment m;
    CStage* stage = app->GetStage();
    if (!stage || !stage->GetMyShip()) return m;
    m.playing = true;
    const MoverMyShip* ship = stage->GetMyShip();
    m.shipDown = ship->IsFinished();
    m.hp = ship->GetHp();
    m.hpMax = ship->GetHpMax();
    m.shotInterval = ship->GetShotInterval();
    m.x = ship->GetPosition().x;
    m.y = ship->GetPosition().y;
    m.time = stage->GetManager()->GetStageTime();
    m.kills = app->GetMoverCounts().killedEnemies;
    const MoverBoss* boss = stage->GetBossMover();
    if (boss) {
      m.bossInPlay = stage->GetManager()->GetBossSlots()[0] == boss;
      m.bossDown = boss->IsFinished();
      m.bossHp = boss->GetHp();
      m.bossAge = boss->GetAge();
      m.bossX = boss->GetPosition().x;
      m.bossY = boss->GetPosition().y;
    }
    return m;
  }

  const std::vector<ReplayControls>& GetPlayed() const { return played; }

 private:
  BotInput* input = nullptr;
  std::unique_ptr<GameApp> app;
  std::vector<ReplayControls> played;
};

// Higher is better. A lost ship outweighs everything; then hit points, then what makes the
// ship stronger, the boss's wounds and kills; last a gentle pull toward a useful place.
double Value(const Moment& m, int framesLived) {
  if (!m.playing) return -1e9;
  if (m.shipDown) return -1e8 + framesLived * 1e4;
  if (m.bossDown) return 1e7 + m.hp * 1000.0;
  double value = m.hp * 1000.0 + m.hpMax * 300.0 + (8 - m.shotInterval) * 2500.0;
  value += m.kills * 150.0;
  if (m.bossInPlay) value += (100 - m.bossHp) * 800.0;
  // Stand low, under the first enemy lane, or under the boss when it is there.
  const float wantedX = m.bossInPlay ? m.bossX : (m.time > kBossEntry - 150 ? 50.0f : 30.0f);
  value -= std::fabs(m.x - wantedX) * 20.0;
  value -= std::fabs(m.y - 88.0f) * 20.0;
  return value;
}

constexpr ReplayControls kMoves[] = {0,           kLeft,        kRight,        kUp,           kDown,
                                     kUp | kLeft, kUp | kRight, kDown | kLeft, kDown | kRight};

struct Search {
  int step = 6;
  int horizon = 60;
  // Fire is held throughout, except while the boss is in play and younger than this, so that
  // its own phases and volleys come into the run before the ship joins the fight.
  int holdFireAge = 0;

  ReplayControls WithFire(const Moment& m, ReplayControls move) const {
    const bool holding = m.bossInPlay && m.bossAge < holdFireAge;
    return static_cast<ReplayControls>(holding ? move : move | kFire);
  }

  // In a forked copy: `move` for `step` frames, then `then` until `horizon`; the value of
  // where that ends (or of the frame the ship was lost) comes back through a pipe.
  double Try(BotGame& game, ReplayControls move, ReplayControls then) const {
    int fds[2];
    if (pipe(fds) != 0) Die("pipe");
    const pid_t child = fork();
    if (child < 0) Die("fork");
    if (child == 0) {
      close(fds[0]);
      const double value = Rollout(game, move, then);
      const bool sent = write(fds[1], &value, sizeof value) == static_cast<ssize_t>(sizeof value);
      _exit(sent ? 0 : 2);
    }
    close(fds[1]);
    double value = -1e18;
    if (read(fds[0], &value, sizeof value) != static_cast<ssize_t>(sizeof value)) value = -1e18;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return value;
  }

  double Rollout(BotGame& game, ReplayControls move, ReplayControls then) const {
    Moment m = game.Read();
    int frame = 0;
    for (; frame < horizon; ++frame) {
      game.Frame(WithFire(m, frame < step ? move : then));
      m = game.Read();
      if (m.shipDown || m.bossDown || !m.playing) break;
    }
    return Value(m, frame);
  }

  // The move whose better continuation (standing still, or keeping on) ends best; the first
  // of equals.
  ReplayControls ChooseMove(BotGame& game) const {
    ReplayControls best = 0;
    double bestValue = -1e30;
    for (ReplayControls move : kMoves) {
      const double still = Try(game, move, 0);
      const double onward = move == 0 ? still : Try(game, move, move);
      const double value = std::max(still, onward);
      if (value > bestValue) {
        bestValue = value;
        best = move;
      }
    }
    return best;
  }

  // From the title through the boss's defeat, or until the ship is lost.
  Moment PlayStage(BotGame& game) const {
    game.Frame(kFire);  // Z on the title starts stage 1
    Moment m = game.Read();
    while (m.playing && !m.shipDown && !m.bossDown) {
      const ReplayControls move = ChooseMove(game);
      for (int i = 0; i < step && !m.shipDown && !m.bossDown; ++i) {
        game.Frame(WithFire(m, move));
        m = game.Read();
      }
      if (m.time % 500 < step) {
        std::fprintf(stderr, "t %d ship (%.1f, %.1f) hp %d/%d interval %d boss %d\n", m.time, m.x,
                     m.y, m.hp, m.hpMax, m.shotInterval, m.bossHp);
      }
    }
    return m;
  }
};

bool WriteReplay(const std::string& path, const std::string& made,
                 const std::vector<ReplayControls>& frames) {
  std::ofstream out(path);
  out << replay_format::kHeader << "\n";
  out << "# Stage 1 played through the boss's defeat, \"Stage Clear!!\" and C to the title.\n";
  out << "# Made by tools/replaybot.cpp: " << made << "\n";
  std::size_t at = 0;
  while (at < frames.size()) {
    std::size_t end = at;
    while (end < frames.size() && frames[end] == frames[at]) ++end;
    out << (end - at) << " " << ControlsToText(frames[at]) << "\n";
    at = end;
  }
  return static_cast<bool>(out);
}

struct BotSettings {
  std::string dataDir = ".";
  std::string outPath;
  Search search;
};

bool ParseArgs(int argc, char** argv, BotSettings& settings) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--data" && i + 1 < argc) {
      settings.dataDir = argv[++i];
    } else if (arg == "--step" && i + 1 < argc) {
      settings.search.step = std::atoi(argv[++i]);
    } else if (arg == "--hold-fire" && i + 1 < argc) {
      settings.search.holdFireAge = std::atoi(argv[++i]);
    } else if (arg == "--horizon" && i + 1 < argc) {
      settings.search.horizon = std::atoi(argv[++i]);
    } else if (settings.outPath.empty() && arg[0] != '-') {
      settings.outPath = arg;
    } else {
      return false;
    }
  }
  const Search& search = settings.search;
  return !settings.outPath.empty() && search.step >= 1 && search.horizon >= search.step;
}

}  // namespace

int main(int argc, char** argv) {
  BotSettings settings;
  if (!ParseArgs(argc, argv, settings)) {
    std::fprintf(
        stderr,
        "usage: replaybot [--data DIR] [--step N] [--horizon N] [--hold-fire AGE] OUT.replay\n");
    return 2;
  }
  const Search& search = settings.search;
  const std::string made = "replaybot --step " + std::to_string(search.step) + " --horizon " +
                           std::to_string(search.horizon) + " --hold-fire " +
                           std::to_string(search.holdFireAge);
  const std::string outPath = std::filesystem::absolute(settings.outPath).string();
  std::filesystem::current_path(settings.dataDir);
  BotGame game;
  if (!game.IsReady()) return 1;
  const Moment m = search.PlayStage(game);
  if (!m.bossDown || m.shipDown) {
    std::fprintf(stderr, "the ship was lost at t %d\n", m.time);
    WriteReplay(outPath, made, game.GetPlayed());
    return 1;
  }
  std::fprintf(stderr, "boss down at t %d (frame %zu), ship hp %d/%d\n", m.time,
               game.GetPlayed().size() - 1, m.hp, m.hpMax);
  for (int i = 0; i < 120; ++i) game.Frame(0);  // the sweep and "Stage Clear!!"
  for (int i = 0; i < 2; ++i) game.Frame(kContinue);
  for (int i = 0; i < 60; ++i) game.Frame(0);  // stage 2 cannot start: the title
  return WriteReplay(outPath, made, game.GetPlayed()) ? 0 : 1;
}
