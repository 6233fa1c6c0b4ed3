#include "app/Hud.h"

#include <cstdio>

#include "graphics/TextFont.h"
#include "stage/CStage.h"
#include "stage/MoverCounts.h"

namespace vorlith {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

}  // namespace

std::uint32_t Hud::AddGain(std::uint32_t score, std::uint32_t gain) {
  if (score % 100u == 99u && gain % 100u == 1u) score -= 1u;
  return score + gain;
}

void Hud::DrawLine(const TextFont& font, std::int32_t stageNumber, std::uint32_t score) {
  char text[32];
  std::snprintf(text, sizeof text, "Stage %d", stageNumber);
  font.DrawText(text, 200, 15, kWhite, TopLeft);
  std::snprintf(text, sizeof text, "%09u", score);
  font.DrawText(text, 500, 15, kWhite, TopLeft);
}

void Hud::DrawDebug(TextFont& font, const CStage& stage, MoverCounts& counts,
                    std::int32_t& currentTime, std::int32_t fps) {
  char lines[6][128];
  const Vec3 position = stage.GetShipPosition();
  std::snprintf(lines[0], sizeof lines[0], "Pos(%.2f, %.2f)", position.x, position.y);
  std::snprintf(lines[1], sizeof lines[1], "VisibleBulletNum %d", counts.visibleBullets);
  counts.visibleBullets = 0;
  std::snprintf(lines[2], sizeof lines[2], "VisibleEnemyNum %d", counts.visibleEnemies);
  counts.visibleEnemies = 0;
  std::snprintf(lines[3], sizeof lines[3], "KilledEnemyNum %d", counts.killedEnemies);
  std::snprintf(lines[4], sizeof lines[4], "CurrentTime %d", currentTime);
  currentTime += 1;
  std::snprintf(lines[5], sizeof lines[5], "FPS %d", fps);
  for (int i = 0; i < 6; ++i) font.DrawText(lines[i], 20, 45 + 15 * i, kWhite, TopLeft);
}

}  // namespace vorlith
