// Writes the game's models as text .x files, the same bytes on every run:
//   make_models <directory>   ->  <directory>/myship.x, boss0.x, enemy.x, ...
//
// Model space: x to the right, +z is the front (the nose; drawn up the screen when the
// heading is 0), +y faces the viewer. Every face is flat-shaded: its corners carry the face
// normal. Front faces wind clockwise seen from outside, as the drawing culls the others.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct V3 {
  double x = 0, y = 0, z = 0;
};

V3 operator+(V3 a, V3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator-(V3 a, V3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator*(V3 a, double s) {
  return {a.x * s, a.y * s, a.z * s};
}
double Dot(V3 a, V3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(V3 a, V3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 Normalize(V3 v) {
  const double length = std::sqrt(Dot(v, v));
  return length > 0 ? v * (1.0 / length) : V3{};
}

struct Colour {
  double r = 0, g = 0, b = 0, a = 1;
};

struct MaterialSpec {
  std::string name;
  Colour diffuse;
  double power = 0;
  Colour specular;
  Colour emissive;
};

struct Triangle {
  V3 a, b, c;
  int material = 0;
};

// Point in the outline plane: x and z.
struct P2 {
  double x = 0, z = 0;
};

class MeshBuilder {
 public:
  int AddMaterial(const MaterialSpec& material) {
    materials.push_back(material);
    return static_cast<int>(materials.size()) - 1;
  }

  // Adds the triangle so that its front side faces along outward.
  void Add(V3 a, V3 b, V3 c, V3 outward, int material) {
    if (Dot(Cross(b - a, c - a), outward) < 0) std::swap(b, c);
    triangles.push_back({a, b, c, material});
  }

  // A closed solid from an outline star-shaped about its centre: walls from y = bottom up
  // to y = rim, a faceted roof rising to y = peak over the centre, and an underside that is
  // flat or, with keel below bottom, faceted down to y = keel.
  void Slab(const std::vector<P2>& outline, double bottom, double rim, double peak, int material) {
    Slab(outline, bottom, rim, peak, bottom, material);
  }
  void Slab(const std::vector<P2>& outline, double bottom, double rim, double peak, double keel,
            int material) {
    P2 centre;
    for (const P2& p : outline) centre.x += p.x / outline.size(), centre.z += p.z / outline.size();
    const V3 top{centre.x, peak, centre.z};
    const V3 under{centre.x, keel, centre.z};
    const V3 middle{centre.x, (bottom + rim) / 2, centre.z};
    for (size_t i = 0; i < outline.size(); ++i) {
      const P2& p = outline[i];
      const P2& q = outline[(i + 1) % outline.size()];
      const V3 pTop{p.x, rim, p.z}, qTop{q.x, rim, q.z};
      const V3 pBottom{p.x, bottom, p.z}, qBottom{q.x, bottom, q.z};
      const V3 roofOut = Cross(qTop - pTop, top - pTop);
      Add(top, pTop, qTop, roofOut.y >= 0 ? roofOut : roofOut * -1.0, material);
      const V3 underOut = Cross(qBottom - pBottom, under - pBottom);
      Add(under, pBottom, qBottom, underOut.y <= 0 ? underOut : underOut * -1.0, material);
      const V3 wallOut = ((pTop + qBottom) * 0.5) - middle;
      Add(pBottom, qBottom, qTop, wallOut, material);
      Add(pBottom, qTop, pTop, wallOut, material);
    }
  }

  // An axis-aligned box.
  void Box(V3 low, V3 high, int material) {
    const V3 centre = (low + high) * 0.5;
    auto corner = [&](int i) {
      return V3{(i & 1) ? high.x : low.x, (i & 2) ? high.y : low.y, (i & 4) ? high.z : low.z};
    };
    const int faces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
    for (const auto& f : faces) {
      const V3 a = corner(f[0]), b = corner(f[1]), c = corner(f[2]), d = corner(f[3]);
      const V3 out = ((a + c) * 0.5) - centre;
      Add(a, b, c, out, material);
      Add(a, c, d, out, material);
    }
  }

  // A double pyramid: a ring of `sides` points (radii rx, rz about centre in the outline
  // plane) with apexes at centre.y +- height.
  void Gem(V3 centre, int sides, double rx, double rz, double height, double turn, int material) {
    const V3 up = centre + V3{0, height, 0}, down = centre - V3{0, height, 0};
    for (int i = 0; i < sides; ++i) {
      const double a0 = turn + 2 * M_PI * i / sides, a1 = turn + 2 * M_PI * (i + 1) / sides;
      const V3 p = centre + V3{rx * std::sin(a0), 0, rz * std::cos(a0)};
      const V3 q = centre + V3{rx * std::sin(a1), 0, rz * std::cos(a1)};
      const V3 mid = (p + q) * 0.5 - centre;
      Add(up, p, q, mid + V3{0, height, 0}, material);
      Add(down, p, q, mid - V3{0, height, 0}, material);
    }
  }

  // A double pyramid lying along z: a ring in the x-y plane, apexes at centre.z +- length.
  void Spindle(V3 centre, int sides, double rx, double ry, double length, int material) {
    const V3 front = centre + V3{0, 0, length}, back = centre - V3{0, 0, length};
    for (int i = 0; i < sides; ++i) {
      const double a0 = 2 * M_PI * (i + 0.5) / sides, a1 = 2 * M_PI * (i + 1.5) / sides;
      const V3 p = centre + V3{rx * std::cos(a0), ry * std::sin(a0), 0};
      const V3 q = centre + V3{rx * std::cos(a1), ry * std::sin(a1), 0};
      const V3 mid = (p + q) * 0.5 - centre;
      Add(front, p, q, mid + V3{0, 0, length}, material);
      Add(back, p, q, mid - V3{0, 0, length}, material);
    }
  }

  std::string ToText(const std::string& name) const;

 private:
  std::vector<MaterialSpec> materials;
  std::vector<Triangle> triangles;
};

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", std::fabs(v) < 5e-7 ? 0.0 : v);
  return text;
}

std::string Vector(V3 v) {
  return Number(v.x) + ";" + Number(v.y) + ";" + Number(v.z) + ";";
}

std::string ColourText(const Colour& c, bool alpha) {
  std::string text = Number(c.r) + ";" + Number(c.g) + ";" + Number(c.b) + ";";
  if (alpha) text += Number(c.a) + ";";
  return text + ";";
}

std::string MeshBuilder::ToText(const std::string& name) const {
  const size_t count = triangles.size();
  std::string out = "xof 0303txt 0032\n\n";
  out += "// " + name + ": written by tools/make_models; edit the tool, not this file.\n\n";
  out += "Mesh " + name + " {\n " + std::to_string(count * 3) + ";\n";
  for (size_t i = 0; i < count; ++i) {
    for (const V3& v : {triangles[i].a, triangles[i].b, triangles[i].c}) {
      out += " " + Vector(v) + (i + 1 == count && &v == &triangles[i].c ? ";\n" : ",\n");
    }
  }
  auto faceList = [&](std::string& text) {
    text += " " + std::to_string(count) + ";\n";
    for (size_t i = 0; i < count; ++i) {
      text += " 3;" + std::to_string(3 * i) + "," + std::to_string(3 * i + 1) + "," +
              std::to_string(3 * i + 2) + ";" + (i + 1 == count ? ";\n" : ",\n");
    }
  };
  faceList(out);
  out += " MeshMaterialList {\n  " + std::to_string(materials.size()) + ";\n  " +
         std::to_string(count) + ";\n";
  for (size_t i = 0; i < count; ++i) {
    out += "  " + std::to_string(triangles[i].material) + (i + 1 == count ? ";;\n" : ",\n");
  }
  for (const MaterialSpec& m : materials) {
    out += "  Material " + m.name + " {\n   " + ColourText(m.diffuse, true) + "\n   " +
           Number(m.power) + ";\n   " + ColourText(m.specular, false) + "\n   " +
           ColourText(m.emissive, false) + "\n  }\n";
  }
  out += " }\n MeshNormals {\n  " + std::to_string(count) + ";\n";
  for (size_t i = 0; i < count; ++i) {
    const Triangle& t = triangles[i];
    out += "  " + Vector(Normalize(Cross(t.b - t.a, t.c - t.a))) + (i + 1 == count ? ";\n" : ",\n");
  }
  out += "  " + std::to_string(count) + ";\n";
  for (size_t i = 0; i < count; ++i) {
    const std::string k = std::to_string(i);
    out += "  3;" + k + "," + k + "," + k + ";" + (i + 1 == count ? ";\n" : ",\n");
  }
  out += " }\n}\n";
  return out;
}

MaterialSpec Mat(const std::string& name, Colour diffuse, Colour emissive = {0, 0, 0, 1},
                 double power = 0) {
  MaterialSpec m;
  m.name = name;
  m.diffuse = diffuse;
  m.emissive = emissive;
  m.power = power;
  return m;
}

std::vector<P2> Mirror(const std::vector<P2>& right) {
  std::vector<P2> out = right;
  for (auto it = right.rbegin(); it != right.rend(); ++it) {
    if (it->x != 0) out.push_back({-it->x, it->z});
  }
  return out;
}

std::vector<P2> Flip(const std::vector<P2>& outline) {
  std::vector<P2> out;
  for (auto it = outline.rbegin(); it != outline.rend(); ++it) out.push_back({-it->x, it->z});
  return out;
}

// The player's ship: a dart about 6.2 units across with swept wings, nose at +z.
MeshBuilder MyShip() {
  MeshBuilder b;
  const int hull = b.AddMaterial(Mat("Hull", {0.55, 0.80, 1.00, 1}, {0.05, 0.10, 0.15, 1}));
  const int wing = b.AddMaterial(Mat("Wing", {0.20, 0.40, 0.95, 1}, {0.02, 0.05, 0.15, 1}));
  const int canopy = b.AddMaterial(Mat("Canopy", {1.00, 0.90, 0.30, 1}, {0.35, 0.30, 0.05, 1}));
  const int stripe = b.AddMaterial(Mat("Stripe", {1.00, 0.25, 0.20, 1}, {0.30, 0.05, 0.03, 1}));
  const int flame = b.AddMaterial(Mat("Flame", {1.00, 0.60, 0.15, 1}, {0.90, 0.45, 0.10, 1}));
  b.Slab(Mirror({{0, 3.6}, {0.75, 1.4}, {1.05, -0.6}, {0.85, -2.3}, {0, -2.0}}), -0.4, 0.3, 1.0,
         hull);
  const std::vector<P2> rightWing = {{0.8, 0.7}, {3.1, -1.5}, {3.1, -2.4}, {0.8, -1.7}};
  b.Slab(rightWing, -0.25, 0.1, 0.45, wing);
  b.Slab(Flip(rightWing), -0.25, 0.1, 0.45, wing);
  b.Box({2.75, -0.3, -2.5}, {3.25, 0.5, -1.3}, stripe);
  b.Box({-3.25, -0.3, -2.5}, {-2.75, 0.5, -1.3}, stripe);
  b.Gem({0, 0.75, 0.6}, 4, 0.38, 0.9, 0.55, 0, canopy);
  b.Gem({0.45, 0.0, -2.55}, 6, 0.3, 0.45, 0.3, 0, flame);
  b.Gem({-0.45, 0.0, -2.55}, 6, 0.3, 0.45, 0.3, 0, flame);
  return b;
}

struct EnemyPalette {
  Colour body, bodyGlow, claw, clawGlow, eye, eyeGlow;
};

// An enemy about 6 units across: a domed body with two claws reaching forward (+z).
MeshBuilder Enemy(const EnemyPalette& p) {
  MeshBuilder b;
  const int body = b.AddMaterial(Mat("Body", p.body, p.bodyGlow));
  const int claw = b.AddMaterial(Mat("Claw", p.claw, p.clawGlow));
  const int eye = b.AddMaterial(Mat("Eye", p.eye, p.eyeGlow));
  std::vector<P2> ring;
  for (int i = 0; i < 8; ++i) {
    const double a = 2 * M_PI * (i + 0.5) / 8;
    ring.push_back({1.7 * std::sin(a), 1.5 * std::cos(a) - 0.3});
  }
  b.Slab(ring, -0.5, 0.2, 1.3, body);
  // Each claw is two convex pieces: the pincer forward and the arm beside the body.
  b.Slab({{1.2, 0.6}, {2.7, 1.1}, {2.4, 2.9}, {1.7, 1.5}}, -0.3, 0.1, 0.5, claw);
  b.Slab(Flip({{1.2, 0.6}, {2.7, 1.1}, {2.4, 2.9}, {1.7, 1.5}}), -0.3, 0.1, 0.5, claw);
  b.Slab({{1.0, 0.7}, {2.7, 1.1}, {3.0, -1.3}, {1.3, -1.5}}, -0.3, 0.1, 0.45, claw);
  b.Slab(Flip({{1.0, 0.7}, {2.7, 1.1}, {3.0, -1.3}, {1.3, -1.5}}), -0.3, 0.1, 0.45, claw);
  b.Gem({0, 0.9, 0.55}, 6, 0.55, 0.45, 0.45, 0, eye);
  return b;
}

// A rectangle x0..x1 by z0..z1 with its corners cut by `cut`, as an outline.
std::vector<P2> Chamfered(double x0, double x1, double z0, double z1, double cut) {
  return {{x0 + cut, z1}, {x1 - cut, z1}, {x1, z1 - cut}, {x1, z0 + cut},
          {x1 - cut, z0}, {x0 + cut, z0}, {x0, z0 + cut}, {x0, z1 - cut}};
}

// The boss: a battleship 50 units wide and 16 deep (x -25..25, z -8..8), bow at +z. Where
// bullets hurt it (x -5..5 and both of 15..25 by z -5..5, the blocks the stage gives it) it
// wears glowing amber, a colour nothing else on it uses: a lit core in the middle and a gun pod
// at each wing tip, raised above everything around them so that nothing covers them.
MeshBuilder Boss() {
  MeshBuilder b;
  const int hull = b.AddMaterial(Mat("Hull", {0.62, 0.22, 0.72, 1}, {0.08, 0.02, 0.10, 1}));
  const int wing = b.AddMaterial(Mat("Wing", {0.36, 0.40, 0.62, 1}, {0.03, 0.04, 0.08, 1}));
  const int weak = b.AddMaterial(Mat("WeakPoint", {1.00, 0.40, 0.00, 1}, {0.85, 0.22, 0.00, 1}));
  const int glow = b.AddMaterial(Mat("CoreLight", {1.00, 0.95, 0.70, 1}, {0.90, 0.85, 0.55, 1}));
  const int gun = b.AddMaterial(Mat("Gun", {0.72, 0.74, 0.82, 1}, {0.08, 0.08, 0.10, 1}));
  const int engine = b.AddMaterial(Mat("Engine", {0.40, 0.90, 1.00, 1}, {0.30, 0.70, 0.90, 1}));
  const int stripe = b.AddMaterial(Mat("Stripe", {0.92, 0.92, 0.96, 1}, {0.15, 0.15, 0.18, 1}));
  b.Slab(Mirror({{0, 8.0}, {6.5, 6.0}, {10.5, 0.0}, {8.5, -7.5}, {0, -6.5}}), -2.0, 1.0, 4.0, hull);
  const std::vector<P2> rightWing = {{8.0, 4.0},   {21.0, 2.0},  {25.0, -1.0},
                                     {25.0, -5.0}, {20.0, -7.5}, {9.0, -7.5}};
  b.Slab(rightWing, -1.0, 0.4, 1.6, wing);
  b.Slab(Flip(rightWing), -1.0, 0.4, 1.6, wing);
  // Leading-edge stripes and a gun turret a side, between the core and the pods.
  const std::vector<P2> rightStripe = {{9.5, 4.4}, {14.5, 3.6}, {14.5, 2.4}, {9.5, 3.1}};
  b.Slab(rightStripe, -0.6, 1.0, 1.2, stripe);
  b.Slab(Flip(rightStripe), -0.6, 1.0, 1.2, stripe);
  for (double x : {-12.0, 12.0}) {
    b.Gem({x, 1.4, -3.0}, 6, 1.3, 1.3, 1.2, 0, gun);
    b.Box({x - 0.35, 1.2, -2.5}, {x + 0.35, 2.0, 1.0}, gun);
  }
  // The weak points: above the hull's roof (4.0) and the wings' (1.6).
  b.Slab(Chamfered(-5.0, 5.0, -5.0, 5.0, 1.5), 0.5, 4.4, 5.8, weak);
  b.Gem({0, 5.4, 0}, 8, 1.6, 1.6, 0.8, M_PI / 8, glow);
  for (double x : {-25.0, 15.0})
    b.Slab(Chamfered(x, x + 10.0, -5.0, 5.0, 1.5), -1.2, 2.0, 3.2, weak);
  b.Box({-1.5, 1.0, -7.5}, {1.5, 4.2, -5.5}, wing);
  for (double x : {-5.5, 5.5}) b.Gem({x, 1.0, -7.0}, 6, 1.6, 0.9, 1.2, 0, engine);
  return b;
}

// A small bright bullet about 1.5 units across.
MeshBuilder Bullet(Colour colour, Colour glow) {
  MeshBuilder b;
  const int shell = b.AddMaterial(Mat("Shell", colour, glow));
  const Colour light{0.5 + 0.5 * colour.r, 0.5 + 0.5 * colour.g, 0.5 + 0.5 * colour.b, 1};
  const int core = b.AddMaterial(Mat("Core", light, glow));
  b.Gem({0, 0, 0}, 8, 0.75, 0.75, 0.45, M_PI / 8, shell);
  b.Gem({0, 0.25, 0}, 4, 0.3, 0.3, 0.3, M_PI / 4, core);
  return b;
}

// The laser bullet: a glowing spindle 3 units long along its heading.
MeshBuilder LaserSign() {
  MeshBuilder b;
  const int beam = b.AddMaterial(Mat("Beam", {1.00, 0.35, 0.80, 1}, {0.80, 0.20, 0.60, 1}));
  const int core = b.AddMaterial(Mat("Core", {1, 1, 1, 1}, {0.9, 0.9, 0.9, 1}));
  b.Spindle({0, 0, 0}, 6, 0.6, 0.5, 1.5, beam);
  b.Spindle({0, 0.25, 0}, 4, 0.22, 0.3, 1.1, core);
  return b;
}

// The blue item: a flat bevelled plate about 4 units wide with a white cross on both faces,
// so that its spin about the vertical axis shows.
MeshBuilder ItemBlue() {
  MeshBuilder b;
  const int plate = b.AddMaterial(Mat("Plate", {0.25, 0.55, 1.00, 1}, {0.08, 0.20, 0.45, 1}));
  const int cross = b.AddMaterial(Mat("Cross", {1, 1, 1, 1}, {0.45, 0.45, 0.45, 1}));
  std::vector<P2> octagon;
  for (int i = 0; i < 8; ++i) {
    const double a = 2 * M_PI * (i + 0.5) / 8;
    octagon.push_back({2.0 * std::sin(a), 1.6 * std::cos(a)});
  }
  b.Slab(octagon, -0.3, 0.3, 0.55, -0.55, plate);
  for (double side : {1.0, -1.0}) {
    b.Box({-1.1, 0.25 * side, -0.3}, {1.1, 0.7 * side, 0.3}, cross);
    b.Box({-0.3, 0.25 * side, -1.0}, {0.3, 0.7 * side, 1.0}, cross);
  }
  return b;
}

// A thin bar outlining the field: 100 units along x, or along z for the vertical one.
MeshBuilder Axis(bool vertical) {
  MeshBuilder b;
  const int bar = b.AddMaterial(Mat("Bar", {0.45, 0.55, 0.80, 1}, {0.15, 0.20, 0.35, 1}));
  const double half = 0.3;
  if (vertical) {
    b.Box({-half, -half, -50}, {half, half, 50}, bar);
  } else {
    b.Box({-50, -half, -half}, {50, half, half}, bar);
  }
  return b;
}

bool Write(const std::string& directory, const std::string& name, const MeshBuilder& model) {
  const std::string path = directory + "/" + name + ".x";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) {
    std::perror(path.c_str());
    return false;
  }
  const std::string text = model.ToText(name);
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <model directory>\n", argv[0]);
    return 2;
  }
  const std::string directory = argv[1];
  const EnemyPalette red{{0.95, 0.25, 0.20, 1}, {0.15, 0.02, 0.02, 1}, {1.00, 0.60, 0.15, 1},
                         {0.20, 0.08, 0.00, 1}, {1.00, 1.00, 0.40, 1}, {0.70, 0.70, 0.20, 1}};
  const EnemyPalette blue{{0.25, 0.40, 1.00, 1}, {0.02, 0.05, 0.20, 1}, {0.70, 0.35, 1.00, 1},
                          {0.10, 0.03, 0.20, 1}, {0.40, 1.00, 1.00, 1}, {0.20, 0.70, 0.70, 1}};
  const std::vector<std::pair<std::string, std::function<MeshBuilder()>>> models = {
      {"myship", MyShip},
      {"boss0", Boss},
      {"enemy", [&] { return Enemy(red); }},
      {"enemy_blue", [&] { return Enemy(blue); }},
      {"bullet_small_blue",
       [] {
         return Bullet({0.15, 0.45, 1.0, 1}, {0.10, 0.35, 0.9, 1});
       }},
      {"bullet_small_green",
       [] {
         return Bullet({0.2, 1.0, 0.3, 1}, {0.1, 0.75, 0.2, 1});
       }},
      {"laser_sign", LaserSign},
      {"item_blue", ItemBlue},
      {"axis_x", [] { return Axis(false); }},
      {"axis_y", [] { return Axis(true); }},
  };
  for (const auto& [name, make] : models) {
    if (!Write(directory, name, make())) return 1;
  }
  return 0;
}
