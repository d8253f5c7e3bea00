// Shading of the preview pictures.
#include "preview_render.hpp"

#include "lightmap_encoding.hpp"
#include "scene_layout.hpp"

#include <stb_image_write.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace {

constexpr unsigned kPrimaryMask = 1, kShadowMask = 2;

struct Hit {
    const PreviewMesh* mesh = nullptr;
    glm::vec3 position, normal;
    glm::vec2 uv;
};

Hit trace(const PreviewScene& s, const glm::vec3& o, const glm::vec3& d) {
    RTCIntersectContext ctx;
    rtcInitIntersectContext(&ctx);
    RTCRayHit rh{};
    rh.ray.org_x = o.x;
    rh.ray.org_y = o.y;
    rh.ray.org_z = o.z;
    rh.ray.dir_x = d.x;
    rh.ray.dir_y = d.y;
    rh.ray.dir_z = d.z;
    rh.ray.tnear = 0.1f;  // the viewer's near plane
    rh.ray.tfar = 250.0f; // and its far plane
    rh.ray.mask = kPrimaryMask;
    rh.hit.geomID = RTC_INVALID_GEOMETRY_ID;
    rtcIntersect1(s.scene, &ctx, &rh);
    Hit h;
    if (rh.hit.geomID == RTC_INVALID_GEOMETRY_ID)
        return h;
    h.mesh = s.meshes[rh.hit.geomID].get();
    const unsigned* idx = &h.mesh->indices[rh.hit.primID * 3];
    const float u = rh.hit.u, v = rh.hit.v, w = 1.0f - u - v;
    h.position = o + d * rh.ray.tfar;
    h.normal = glm::normalize(w * h.mesh->normals[idx[0]] + u * h.mesh->normals[idx[1]] +
                              v * h.mesh->normals[idx[2]]);
    h.uv = w * h.mesh->uvs[idx[0]] + u * h.mesh->uvs[idx[1]] + v * h.mesh->uvs[idx[2]];
    return h;
}

bool shadowed(const PreviewScene& s, const glm::vec3& o, const glm::vec3& d, float tfar) {
    RTCIntersectContext ctx;
    rtcInitIntersectContext(&ctx);
    RTCRay r{};
    r.org_x = o.x;
    r.org_y = o.y;
    r.org_z = o.z;
    r.dir_x = d.x;
    r.dir_y = d.y;
    r.dir_z = d.z;
    r.tnear = 0.02f;
    r.tfar = tfar;
    r.mask = kShadowMask;
    rtcOccluded1(s.scene, &ctx, &r);
    return r.tfar < 0.0f;
}

glm::vec3 shade(const PreviewScene& s, const Hit& h, const glm::vec3& eye, PreviewMode mode) {
    const glm::vec3 albedo = h.mesh->unit0 ? h.mesh->unit0->sample(h.uv) : glm::vec3(1, 0, 1);
    if (mode == PreviewMode::Albedo)
        return albedo;
    if (h.mesh->sky)
        return mode == PreviewMode::Light ? glm::vec3(0.7f) : albedo * 0.7f;
    glm::vec3 light(0.0f);
    if (h.mesh->lightmapped && h.mesh->unit1) {
        light = decodeLightmap(h.mesh->unit1->sample(h.uv));
    } else {
        glm::vec3 n = h.normal;
        if (glm::dot(n, eye - h.position) < 0.0f)
            n = -n;
        light = glm::vec3(0.09f, 0.1f, 0.14f);
        const glm::vec3 toMoon = -moonDirection();
        const float nl = glm::dot(n, toMoon);
        if (nl > 0.0f && !shadowed(s, h.position + n * 0.01f, toMoon, 400.0f))
            light += moonColor() * nl;
        for (const PointLight& l : streetLights()) {
            const glm::vec3 d = l.position - h.position;
            const float dist = glm::length(d);
            light +=
                l.color * std::max(0.0f, glm::dot(n, d / dist)) / (0.2f + 0.02f * dist + 0.1f * dist * dist);
        }
    }
    return mode == PreviewMode::Light ? light : albedo * light;
}

} // namespace

bool renderPreview(const PreviewScene& s, const PreviewView& view, int width, int height, PreviewMode mode,
                   const std::string& pngPath) {
    const glm::vec3 front = glm::normalize(view.target - view.position);
    const glm::vec3 right = glm::normalize(glm::cross(front, glm::vec3(0, 1, 0)));
    const glm::vec3 up = glm::cross(right, front);
    const float tanHalf = std::tan(glm::radians(30.0f)), aspect = float(width) / float(height);
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    std::atomic<int> nextRow{0};
    auto worker = [&] {
        for (int y = nextRow++; y < height; y = nextRow++)
            for (int x = 0; x < width; ++x) {
                glm::vec3 sum(0.0f);
                // 2 x 2 samples per pixel.
                for (int k = 0; k < 4; ++k) {
                    const float sx = (float(x) + 0.25f + 0.5f * float(k & 1)) / float(width) * 2.0f - 1.0f;
                    const float sy = 1.0f - (float(y) + 0.25f + 0.5f * float(k >> 1)) / float(height) * 2.0f;
                    const glm::vec3 d =
                        glm::normalize(front + right * (sx * tanHalf * aspect) + up * (sy * tanHalf));
                    const Hit h = trace(s, view.position, d);
                    // The viewer clears to white; show it, since a gap in the sky would be a fault.
                    sum += h.mesh ? shade(s, h, view.position, mode) : glm::vec3(1.0f);
                }
                const glm::vec3 c = glm::pow(glm::clamp(sum * 0.25f, 0.0f, 1.0f), glm::vec3(1.0f / 2.2f));
                for (int ch = 0; ch < 3; ++ch)
                    rgb[(size_t(y) * width + x) * 3 + ch] =
                        static_cast<unsigned char>(std::lround(c[ch] * 255.0f));
            }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread& t : threads)
        t.join();
    return stbi_write_png(pngPath.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}
