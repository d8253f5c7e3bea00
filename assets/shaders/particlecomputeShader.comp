#version 430 core
// One simulation step of a smoke emitter: ages and moves the particles of the input pair, writes the
// survivors and this frame's new particles to the output pair, and counts them with the atomic counter.
// Every slot is decided by the data alone, never by which invocation runs first, so a run at a fixed
// step repeats exactly: the pair is kept in order of remaining life (every particle starts with the
// same TTL_Spawn and all age alike), so the particles that die this frame are the first ones, the
// survivors move down by their number in order, and the new particles follow them. New ones only fill
// the room the buffers had at the start of the frame, and a slot past MaximumCount is never written.

layout(local_size_x = 256, local_size_y = 1, local_size_z = 1) in;

layout(std430, binding = 0) readonly buffer PositionsIn { vec4 positionsIn[]; };
layout(std430, binding = 1) readonly buffer VelocitiesIn { vec4 velocitiesIn[]; };
layout(std430, binding = 2) writeonly buffer PositionsOut { vec4 positionsOut[]; };
layout(std430, binding = 3) writeonly buffer VelocitiesOut { vec4 velocitiesOut[]; };
layout(binding = 4, offset = 0) uniform atomic_uint liveCounter;

uniform int LastCount;
uniform int spawnCount;
uniform int MaximumCount;
uniform float DeltaT;
uniform float TTL_Spawn;
uniform int spawnRate;
uniform vec3 direction;
uniform vec3 windForce;
uniform float randX;
uniform float randY;
uniform float randZ;
uniform float randDirection;

// Per second: how fast the air takes a particle's sideways speed towards the wind's.
const float airDrag = 0.25;

// There is no seed uniform: variety comes from the invocation, the frame's count and time step, and
// the data of a living particle, which changes every frame.
uint hash(uint x) {
    x = x * 747796405u + 2891336453u;
    uint word = ((x >> ((x >> 28u) + 4u)) ^ x) * 277803737u;
    return (word >> 22u) ^ word;
}

float random01(inout uint state) {
    state = hash(state);
    return float(state >> 8u) / 16777216.0;
}

float randomSigned(inout uint state) { return random01(state) * 2.0 - 1.0; }

uint capacity() {
    uint buffers = uint(min(min(positionsOut.length(), velocitiesOut.length()),
                            min(positionsIn.length(), velocitiesIn.length())));
    return min(uint(max(MaximumCount, 0)), buffers);
}

// Counts a particle about to be written to `slot`; a slot at or past the capacity is refused and not
// counted, so the counter ends at the number of particles actually written.
bool claimSlot(uint slot) {
    if (slot >= capacity())
        return false;
    atomicCounterIncrement(liveCounter);
    return true;
}

// How many of the first lastCount particles die in this step: they are the first ones, since the pair
// is ordered by remaining life, so a binary search finds the first survivor. The test is the very
// expression the step below applies to each particle.
uint firstSurvivor(uint lastCount, float deltaT) {
    uint low = 0u;
    uint high = lastCount;
    while (low < high) {
        uint middle = (low + high) / 2u;
        if (positionsIn[middle].w - deltaT > 0.0)
            high = middle;
        else
            low = middle + 1u;
    }
    return low;
}

void writeParticle(uint slot, vec4 position, vec4 velocity) {
    positionsOut[slot] = position;
    velocitiesOut[slot] = velocity;
}

void main() {
    uint index = gl_GlobalInvocationID.x;
    uint lastCount = min(uint(max(LastCount, 0)), capacity());
    float deltaT = max(DeltaT, 0.0);
    uint dying = firstSurvivor(lastCount, deltaT);

    if (index >= dying && index < lastCount) {
        vec4 position = positionsIn[index];
        vec4 velocity = velocitiesIn[index];
        position.w -= deltaT;
        if (position.w > 0.0) {
            // The wind pushes against the air's drag, so sideways speed settles at windForce / airDrag
            // and the random spread calms down; solved exactly, it stays bounded for any frame time.
            vec2 settled = windForce.xz / airDrag;
            velocity.xz = settled + (velocity.xz - settled) * exp(-airDrag * deltaT);
            velocity.y += windForce.y * deltaT;
            // A slow sideways sway, phased per particle, keeps the column from looking rigid.
            float phase = velocity.w * 6.2831853 + position.w * 0.8;
            vec3 sway = vec3(cos(phase), 0.0, sin(phase)) * (0.25 * randDirection);
            position.xyz += (velocity.xyz + sway) * deltaT;
            if (claimSlot(index - dying))
                writeParticle(index - dying, position, velocity);
        }
    }

    // Survivors can never outnumber lastCount, so spawning only into the room left at the start of
    // the frame keeps every living particle. The step dispatches for lastCount invocations (plus
    // one batch on single-event frames), so invocation i spawns independently of keeping particle i.
    uint room = capacity() - lastCount;
    uint events = min(uint(max(spawnCount, 0)), room);
    uint batch = min(uint(max(spawnRate, 0)), room);
    uint requested = batch == 0u ? 0u : (events > room / batch ? room : events * batch);
    if (index >= requested)
        return;

    uint state = hash(index) ^ hash(uint(LastCount) + 0x9E3779B9u) ^ hash(floatBitsToUint(DeltaT));
    if (lastCount > 0u) {
        vec4 neighbour = positionsIn[index % lastCount];
        state ^= hash(floatBitsToUint(neighbour.x) ^ hash(floatBitsToUint(neighbour.z) ^
                                                          hash(floatBitsToUint(neighbour.w))));
    }

    // Smoke leaves the source over its area, not from one point: randX and randZ are the width and
    // depth of an elliptic source, randY its thickness.
    float angle = random01(state) * 6.2831853;
    float radius = 0.5 * sqrt(random01(state));
    vec3 offset = vec3(cos(angle) * radius * randX, 0.5 * randomSigned(state) * randY,
                       sin(angle) * radius * randZ);
    vec3 jitter = vec3(randomSigned(state), 0.5 * randomSigned(state), randomSigned(state)) * randDirection;
    float phase = random01(state);

    // After the survivors, in invocation order: the youngest particles go last.
    uint slot = lastCount - dying + index;
    if (claimSlot(slot))
        writeParticle(slot, vec4(offset, TTL_Spawn), vec4(direction + jitter, phase));
}
