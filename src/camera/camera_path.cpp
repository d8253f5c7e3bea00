// Linear interpolation along the flight's segments.
#include "camera/camera_path.hpp"

void CameraPath::advance(Camera& camera, float& flightTime, float deltaTime) const {
    flightTime += deltaTime;
    const float t = flightTime;
    // Start times are summed in single precision as the walk goes, so the boundaries are exactly the
    // float sums of the durations.
    float segmentStart = 0.0f;
    for (size_t j = 0; j + 1 < rows.size(); ++j) {
        segmentStart += rows[j].duration;
        const CameraPathRow& from = rows[j];
        const CameraPathRow& to = rows[j + 1];
        if (segmentStart < t && t < segmentStart + to.duration) {
            const float f = (t - segmentStart) / to.duration;
            const glm::vec3 target = from.target + (to.target - from.target) * f;
            // Aimed from where the previous frame left the camera, so the look trails by one frame.
            camera.front = glm::normalize(target - camera.position);
            camera.position = from.position + (to.position - from.position) * f;
            return;
        }
    }
}
