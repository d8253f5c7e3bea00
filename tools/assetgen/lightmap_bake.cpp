// Per-texel lighting integration. Every texel draws its rays from a generator seeded by its own
// coordinates, so the result does not depend on how rows are spread over threads.
#include "lightmap_bake.hpp"

#include "lightmap_encoding.hpp"
#include "noise.hpp"

#include <glm/gtc/constants.hpp>

#include <cmath>
#include <cstdio>
#include <limits>

BakeScene::BakeScene() {
    device = rtcNewDevice("threads=2");
    scene = rtcNewScene(device);
    rtcSetSceneBuildQuality(scene, RTC_BUILD_QUALITY_HIGH);
}

BakeScene::~BakeScene() {
    if (scene)
        rtcReleaseScene(scene);
    if (device)
        rtcReleaseDevice(device);
}

void BakeScene::add(const MeshData& mesh, const glm::mat4& toWorld) {
    if (mesh.indices.empty())
        return;
    RTCGeometry geom = rtcNewGeometry(device, RTC_GEOMETRY_TYPE_TRIANGLE);
    auto* v = static_cast<float*>(rtcSetNewGeometryBuffer(geom, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3,
                                                          3 * sizeof(float), mesh.positions.size()));
    for (size_t i = 0; i < mesh.positions.size(); ++i) {
        const glm::vec3 p = glm::vec3(toWorld * glm::vec4(mesh.positions[i], 1.0f));
        v[3 * i] = p.x;
        v[3 * i + 1] = p.y;
        v[3 * i + 2] = p.z;
    }
    auto* idx = static_cast<unsigned*>(rtcSetNewGeometryBuffer(
        geom, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, 3 * sizeof(unsigned), mesh.indices.size() / 3));
    for (size_t i = 0; i < mesh.indices.size(); ++i)
        idx[i] = mesh.indices[i];
    rtcCommitGeometry(geom);
    rtcAttachGeometry(scene, geom);
    rtcReleaseGeometry(geom);
    triangles += mesh.indices.size() / 3;
}

void BakeScene::commit() {
    rtcCommitScene(scene);
}

bool BakeScene::occluded(const glm::vec3& o, const glm::vec3& d, float tfar) const {
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRay ray{};
    ray.org_x = o.x;
    ray.org_y = o.y;
    ray.org_z = o.z;
    ray.dir_x = d.x;
    ray.dir_y = d.y;
    ray.dir_z = d.z;
    ray.tnear = 0.0f;
    ray.tfar = tfar;
    ray.mask = 0xFFFFFFFFu;
    rtcOccluded1(scene, &context, &ray);
    return ray.tfar < 0.0f;
}

float BakeScene::hitDistance(const glm::vec3& o, const glm::vec3& d, float tfar) const {
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRayHit rh{};
    rh.ray.org_x = o.x;
    rh.ray.org_y = o.y;
    rh.ray.org_z = o.z;
    rh.ray.dir_x = d.x;
    rh.ray.dir_y = d.y;
    rh.ray.dir_z = d.z;
    rh.ray.tnear = 0.0f;
    rh.ray.tfar = tfar;
    rh.ray.mask = 0xFFFFFFFFu;
    rh.hit.geomID = RTC_INVALID_GEOMETRY_ID;
    rtcIntersect1(scene, &context, &rh);
    return rh.hit.geomID == RTC_INVALID_GEOMETRY_ID ? -1.0f : rh.ray.tfar;
}

namespace {

constexpr float kSkyDistance = 80.0f;

glm::vec3 shadeTexel(const BakeScene& scene, const SurfacePoint& sp, const BakeSettings& s, uint32_t seed) {
    const glm::vec3 n = glm::normalize(sp.normal);
    const glm::vec3 origin = sp.position + n * 0.03f;
    const glm::vec3 ref = std::fabs(n.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    const glm::vec3 tx = glm::normalize(glm::cross(ref, n));
    const glm::vec3 ty = glm::cross(n, tx);

    // Stratified cosine-weighted hemisphere.
    const int side = std::max(1, int(std::sqrt(float(s.aoRays))));
    float open = 0.0f, sky = 0.0f;
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j) {
            const uint32_t h = hash32(seed ^ uint32_t(i * 7919 + j * 104729));
            const float r1 = (float(i) + hashUnit(h)) / float(side);
            const float r2 = (float(j) + hashUnit(hash32(h))) / float(side);
            const float r = std::sqrt(r1), phi = glm::two_pi<float>() * r2;
            const glm::vec3 d = glm::normalize(r * std::cos(phi) * tx + r * std::sin(phi) * ty +
                                               std::sqrt(std::max(0.0f, 1.0f - r1)) * n);
            const float hit = scene.hitDistance(origin, d, kSkyDistance);
            if (hit < 0.0f) {
                open += 1.0f;
                // Light from below the horizon is the dark ground, not the sky.
                sky += d.y > 0.0f ? 1.0f : 0.25f;
            } else {
                open += std::min(1.0f, hit / s.aoDistance);
            }
        }
    const float count = float(side * side);
    const float ao = open / count;
    glm::vec3 e = s.skyColor * (sky / count) + s.skyColor * 0.35f * ao;

    const glm::vec3 toMoon = -glm::normalize(s.moonDirection);
    const float nl = glm::dot(n, toMoon);
    const bool moonLit = s.moonColor != glm::vec3(0.0f);
    if (moonLit && nl > 0.0f && !scene.occluded(origin, toMoon, 400.0f))
        e += s.moonColor * nl;

    for (const BakeLight& l : s.lights) {
        glm::vec3 d = l.position - origin;
        const float dist = glm::length(d);
        d /= dist;
        const float ln = glm::dot(n, d);
        if (ln <= 0.0f || dist <= l.clearance)
            continue;
        if (scene.occluded(origin, d, dist - l.clearance))
            continue;
        e += l.color * ln / (l.constant + l.linear * dist + l.quadratic * dist * dist);
    }
    // Corners stay dark even where direct light reaches them.
    return e * (0.35f + 0.65f * ao);
}

} // namespace

Image bakeLightmap(const BakeScene& scene, const AtlasMesh& atlas, const BakeSettings& settings,
                   uint32_t seed) {
    const int n = atlas.lightmapSize;
    const std::vector<int> owner = atlasOwnerMap(atlas);
    Image raw(n, n);
    parallelRows(n, [&](int y) {
        for (int x = 0; x < n; ++x) {
            glm::vec2 local;
            const int id = atlasTexelToChart(atlas, owner, float(x) + 0.5f, float(y) + 0.5f, 0.5f, local);
            if (id < 0)
                continue;
            const SurfacePoint sp = atlas.charts[id].surface(local.x, local.y);
            const glm::vec3 e =
                shadeTexel(scene, sp, settings, hash32(seed ^ uint32_t(y * n + x) * 2654435761u));
            raw.at(x, y) = e;
        }
    });
    // Smooth the sampling noise within each chart, then encode.
    Image out(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int id = owner[size_t(y) * n + x];
            if (id < 0)
                continue;
            glm::vec3 sum(0.0f);
            float wsum = 0.0f;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= n || yy >= n || owner[size_t(yy) * n + xx] != id)
                        continue;
                    const float w = (dx == 0 && dy == 0) ? 2.0f : 1.0f;
                    sum += w * raw.at(xx, yy);
                    wsum += w;
                }
            out.at(x, y) = encodeLightmap(sum / wsum * settings.exposure);
        }
    // Spread chart borders into unused texels so mipmaps do not pull in black.
    std::vector<int> filled(owner.begin(), owner.end());
    for (int pass = 0; pass < 6; ++pass) {
        std::vector<int> next = filled;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                if (filled[size_t(y) * n + x] >= 0)
                    continue;
                glm::vec3 sum(0.0f);
                int count = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int xx = x + dx, yy = y + dy;
                        if (xx < 0 || yy < 0 || xx >= n || yy >= n || filled[size_t(yy) * n + xx] < 0)
                            continue;
                        sum += out.at(xx, yy);
                        ++count;
                    }
                if (count) {
                    out.at(x, y) = sum / float(count);
                    next[size_t(y) * n + x] = 0;
                }
            }
        filled.swap(next);
    }
    return out;
}
