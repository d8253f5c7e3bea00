// Albedo of the building's lightmapped surfaces, painted per texel from the world position: precast
// concrete panels streaked by rain and soot, tiled and linoleum floors under dust and ash, stained
// ceilings, a tarred roof, and painted inner walls blackened by the fire on the top floor.
#include "building_parts.hpp"
#include "paint_util.hpp"

#include <cmath>

namespace {

using glm::vec3;

const vec3 kFire(-12.0f, 18.1f, -3.3f);

int storeyOf(float y) {
    return int(std::floor((y - kGroundFloorY + 0.15f) / kStoreyHeight));
}

// How strongly the fire blackened a point of the top storey.
float fireSoot(const vec3& p) {
    if (p.y < floorY(5) - 0.2f)
        return 0.0f;
    const float d = glm::length(glm::vec2(p.x - kFire.x, p.z - kFire.z));
    const float near = std::exp(-d * d / 30.0f);
    const float high = smoothstepf(floorY(5) + 0.8f, floorY(6) - 0.2f, p.y);
    return clamp01(0.35f * high + near * (0.6f + 0.4f * high)) *
           (0.75f + 0.5f * fbm3(p.x, p.y * 1.5f, p.z, 3, 901));
}

vec3 facade(const SurfacePoint& sp, int side) {
    const vec3& p = sp.position;
    const float a = sp.local.x, y = p.y;
    const int k = storeyOf(y);
    const float bay = std::floor(a / 3.0f), bx = a - 3.0f * bay;
    // Each precast panel has its own shade.
    const uint32_t panel = hash3i(side, int(bay), k, 911);
    vec3 c = concreteAt(p, vec3(0.37f, 0.36f, 0.34f) * (0.88f + 0.2f * hashUnit(panel)), 913);
    // Broad weathering: darker where rain runs and dirt settles.
    c = mix3(c, c * vec3(0.62f, 0.6f, 0.58f),
             smoothstepf(0.45f, 0.75f, fbm3(p.x * 0.3f, p.y * 0.12f, p.z * 0.3f, 4, 914)));
    c = mix3(c, c * vec3(0.7f, 0.68f, 0.64f),
             0.7f * streaksAt(a * 0.5f, std::fmod(30.0f - y, 4.0f), 4.0f, 916 + side));
    // Joints between panels: a dark groove with a paler lip underneath.
    const float slabLine = floorY(k + 1) - 0.15f;
    const float dj = std::min(std::fabs(y - slabLine), std::fabs(y - (floorY(k) - 0.15f)));
    const float dv = std::min(bx, 3.0f - bx);
    if (dj < 0.03f || dv < 0.025f)
        c *= 0.45f;
    else if (dj < 0.06f)
        c *= 1.08f;
    // Rain streaks under the sills and from the joints.
    const float sill = floorY(k) + 0.9f;
    if (bx > 0.55f && bx < 2.45f)
        c = mix3(c, c * vec3(0.55f, 0.52f, 0.48f), streaksAt(a, sill - y, 2.6f, 915 + side));
    c = mix3(c, c * vec3(0.62f, 0.5f, 0.4f), 0.8f * streaksAt(a * 0.7f, slabLine - y, 1.8f, 917 + side));
    // Soot above the burnt-out windows of the top storeys and around the blast hole.
    const float head = floorY(k) + 2.6f;
    float soot = 0.0f;
    if (k >= 4 && (k == 5 || side == kFacadeSouth)) {
        const float up = y - head;
        const float width = 0.8f + 0.35f * std::max(up, 0.0f);
        if (up > -1.6f && up < 3.0f)
            soot = std::exp(-std::pow((bx - 1.5f) / width, 2.0f)) * (1.0f - clamp01(up / 3.0f));
    }
    if (side == kFacadeSouth && a > 5.5f && a < 14.5f && y > 14.0f)
        soot = std::max(soot, smoothstepf(14.0f, 17.0f, y) * (1.0f - smoothstepf(5.5f, 6.8f, a) * 0.0f) *
                                  smoothstepf(5.5f, 7.0f, a) * (1.0f - smoothstepf(13.2f, 14.5f, a)));
    if ((side == kFacadeWest || side == kFacadeSouth) && y > 19.0f)
        soot = std::max(soot, 0.6f * smoothstepf(19.0f, 22.0f, y) * patchesAt(p, 1.5f, 0.4f, 0.3f, 919));
    c = mix3(c, vec3(0.03f, 0.028f, 0.026f),
             clamp01(soot * (0.6f + 0.6f * fbm3(p.x * 2, p.y * 2, p.z * 2, 3, 921))));
    // Grime and moss at the foot of the wall.
    const float foot = 1.0f - smoothstepf(-1.4f, 0.4f, y);
    c = mix3(c, c * vec3(0.45f, 0.5f, 0.38f), foot * (0.5f + 0.5f * fbm3(p.x * 3, p.y * 3, p.z * 3, 3, 923)));
    // Cracks and the odd bullet chip.
    c *= 1.0f - 0.55f * cracksAt(a, y, 1.7f, 0.035f, 925 + side) * patchesAt(p, 3.0f, 0.5f, 0.15f, 927);
    if (valueNoise2(a * 7.0f, y * 7.0f, 929 + side) > 0.93f)
        c *= 0.5f;
    // Faded graffiti on the ground floor of the street sides.
    if ((side == kFacadeWest || side == kFacadeSouth) && y > -0.7f && y < 1.3f) {
        const float shape = fbm2(a * 1.4f, y * 2.2f, 4, 931 + side);
        const float band = smoothstepf(-0.7f, -0.4f, y) * (1.0f - smoothstepf(1.0f, 1.3f, y));
        const float region = smoothstepf(0.45f, 0.6f, valueNoise2(a * 0.25f, 0.5f, 933 + side));
        const vec3 paint = hashUnit(hash2i(int(a / 4.0f), side, 935)) > 0.5f ? vec3(0.55f, 0.12f, 0.10f)
                                                                             : vec3(0.12f, 0.38f, 0.40f);
        if (shape > 0.55f)
            c = mix3(c, paint, 0.8f * band * region);
        else if (shape > 0.51f)
            c = mix3(c, vec3(0.75f, 0.75f, 0.7f), 0.7f * band * region);
    }
    return c;
}

vec3 topFloor(const vec3& p) {
    vec3 c = concreteAt(p, vec3(0.40f, 0.39f, 0.37f), 941);
    // Remains of a tiled floor.
    const float tx = p.x / 0.5f, tz = p.z / 0.5f;
    const float fx = tx - std::floor(tx), fz = tz - std::floor(tz);
    const uint32_t tile = hash2i(int(std::floor(tx)), int(std::floor(tz)), 943);
    const float keep = patchesAt(p * glm::vec3(1, 0, 1), 3.0f, 0.42f, 0.02f, 945);
    if (keep > 0.5f && hashUnit(tile) > 0.12f) {
        vec3 t = vec3(0.52f, 0.48f, 0.42f) * (0.85f + 0.25f * hashUnit(hash32(tile)));
        t *= 0.9f + 0.2f * valueNoise2(p.x * 30.0f, p.z * 30.0f, 947);
        if (std::min(std::min(fx, 1 - fx), std::min(fz, 1 - fz)) < 0.04f)
            t = vec3(0.2f, 0.19f, 0.18f);
        c = t * (1.0f - 0.5f * cracksAt(p.x, p.z, 0.6f, 0.012f, 949) * float(hashUnit(tile) > 0.6f));
    }
    // Dust and grit under the fallen roof, ash and scorch around the fire.
    const float dust = patchesAt(p, 1.2f, 0.45f, 0.3f, 951) *
                       (p.x < kCollapseMaxX + 1.0f && p.z < kCollapseMaxZ + 1.0f ? 1.0f : 0.35f);
    c = mix3(c, vec3(0.46f, 0.44f, 0.41f) * (0.8f + 0.4f * valueNoise2(p.x * 20, p.z * 20, 953)),
             0.7f * dust);
    const float d = glm::length(glm::vec2(p.x - kFire.x, p.z - kFire.z));
    const float scorch = std::exp(-d * d / 9.0f) * (0.7f + 0.5f * fbm2(p.x * 1.5f, p.z * 1.5f, 3, 955));
    c = mix3(c, vec3(0.02f, 0.018f, 0.016f), clamp01(scorch * 1.3f));
    c = mix3(c, c * 0.6f, patchesAt(p, 2.5f, 0.55f, 0.1f, 957)); // dried puddles
    return c;
}

vec3 storeyFourFloor(const vec3& p) {
    vec3 lino = vec3(0.36f, 0.38f, 0.30f) * (0.85f + 0.3f * fbm2(p.x * 0.8f, p.z * 0.8f, 4, 961));
    lino *= 0.92f + 0.16f * valueNoise2(p.x * 25.0f, p.z * 25.0f, 963);
    const float worn = patchesAt(p, 1.8f, 0.5f, 0.08f, 965);
    vec3 c = mix3(lino, concreteAt(p, vec3(0.36f, 0.35f, 0.33f), 967), worn);
    c *= 1.0f - 0.6f * cracksAt(p.x, p.z, 1.4f, 0.01f, 969) * (1.0f - worn);
    // Scattered paper and dirt.
    const uint32_t h = hash2i(int(std::floor(p.x * 3.0f)), int(std::floor(p.z * 3.0f)), 971);
    if (hashUnit(h) > 0.965f)
        c = vec3(0.55f, 0.53f, 0.48f) * (0.8f + 0.2f * hashUnit(hash32(h)));
    c = mix3(c, c * vec3(0.6f, 0.55f, 0.45f), patchesAt(p, 2.2f, 0.58f, 0.12f, 973));
    return c;
}

vec3 ceiling(const vec3& p) {
    vec3 c = vec3(0.56f, 0.56f, 0.53f) * (0.88f + 0.2f * fbm3(p.x, p.y, p.z, 4, 981));
    const float fallen = patchesAt(p, 1.3f, 0.58f, 0.04f, 983);
    c = mix3(c, concreteAt(p, vec3(0.38f, 0.37f, 0.35f), 985), fallen);
    // Rusting reinforcement showing through where the plaster fell.
    const float bar = std::fabs(std::fmod(p.x + 100.0f, 0.25f) - 0.125f);
    if (fallen > 0.5f && bar < 0.012f)
        c = vec3(0.25f, 0.12f, 0.06f);
    const float ring = patchesAt(p, 1.6f, 0.55f, 0.03f, 987) - patchesAt(p, 1.6f, 0.6f, 0.03f, 987);
    c = mix3(c, c * vec3(0.7f, 0.58f, 0.42f),
             clamp01(ring * 2.0f + 0.4f * patchesAt(p, 1.6f, 0.6f, 0.2f, 987)));
    c = mix3(c, vec3(0.025f), fireSoot(p + vec3(0, 1.0f, 0)));
    return c;
}

vec3 roofTop(const vec3& p) {
    const float strip = p.x / 1.0f;
    const float edge = strip - std::floor(strip);
    vec3 c = vec3(0.13f, 0.13f, 0.14f) * (0.8f + 0.4f * fbm2(p.x * 0.7f, p.z * 0.7f, 4, 991));
    c *= 0.9f + 0.2f * hashUnit(hash2i(int(std::floor(strip)), 0, 993));
    if (edge < 0.03f)
        c *= 1.5f;
    const float patch = patchesAt(p, 1.5f, 0.6f, 0.03f, 995);
    c = mix3(c, vec3(0.08f, 0.08f, 0.085f), patch);
    const float gravel = valueNoise2(p.x * 60.0f, p.z * 60.0f, 997);
    c = mix3(c, vec3(0.32f, 0.3f, 0.27f) * gravel,
             smoothstepf(0.6f, 0.9f, patchesAt(p, 2.0f, 0.4f, 0.3f, 999)) * 0.6f);
    c = mix3(c, vec3(0.16f, 0.18f, 0.1f), 0.5f * patchesAt(p, 0.8f, 0.62f, 0.1f, 1001));
    const float chimney = glm::length(glm::vec2(p.x - 2.0f, p.z + 2.3f));
    c = mix3(c, vec3(0.02f), std::exp(-chimney * chimney / 2.0f));
    return c;
}

vec3 innerWall(const SurfacePoint& sp, float dadoHeight) {
    const vec3& p = sp.position;
    const int k = storeyOf(p.y);
    const float above = p.y - floorY(k);
    vec3 paint = above < dadoHeight ? vec3(0.30f, 0.36f, 0.32f) : vec3(0.58f, 0.57f, 0.52f);
    if (std::fabs(above - dadoHeight) < 0.02f)
        paint = vec3(0.2f, 0.22f, 0.2f);
    paint *= 0.85f + 0.25f * fbm3(p.x * 0.8f, p.y * 0.8f, p.z * 0.8f, 4, 1011);
    const float peel = patchesAt(p, 0.9f, 0.6f, 0.03f, 1013);
    vec3 c = mix3(paint, concreteAt(p, vec3(0.4f, 0.39f, 0.37f), 1015), peel);
    c = mix3(c, c * vec3(0.65f, 0.6f, 0.5f),
             streaksAt(sp.local.x, above - 3.4f < 0 ? 3.4f - above : -1.0f, 3.0f, 1017));
    c = mix3(c, c * 0.55f, (1.0f - smoothstepf(0.0f, 0.35f, above)) * 0.8f);
    c = mix3(c, vec3(0.025f), fireSoot(p));
    return c;
}

} // namespace

glm::vec3 paintBuilding(const SurfacePoint& sp, const Chart& chart) {
    switch (chart.material) {
    case kFacadeSouth:
    case kFacadeNorth:
    case kFacadeEast:
    case kFacadeWest:
        return facade(sp, chart.material);
    case kFloorTop:
        return topFloor(sp.position);
    case kFloorStorey4:
        return storeyFourFloor(sp.position);
    case kCeiling:
        return ceiling(sp.position);
    case kRoofTop:
        return roofTop(sp.position);
    case kParapetInner:
        return concreteAt(sp.position, vec3(0.42f, 0.41f, 0.39f), 1021) *
               (1.0f - 0.4f * patchesAt(sp.position, 1.0f, 0.5f, 0.2f, 1023));
    case kInnerWall:
    case kPartitionFace:
        return innerWall(sp, 1.2f);
    case kColumnFace:
    case kBeamFace:
    default: {
        const vec3 base = concreteAt(sp.position, vec3(0.52f, 0.51f, 0.48f), 1031);
        return mix3(base, vec3(0.025f), fireSoot(sp.position));
    }
    }
}
