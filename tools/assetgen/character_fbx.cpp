// The exporter is handed a scene in the shape its reader returns: a root with the mesh node and the
// joint tree side by side, joint nodes holding their rest offsets, one bone per joint whose offset
// matrix undoes the joint's rest position. Binary FBX from this exporter does not read back, so the
// ASCII flavour is used; clips are timed in seconds at one tick per second because the exporter
// derives a clip's end as whole ticks divided by whole ticks per second.
#include "character_fbx.hpp"

#include <assimp/Exporter.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <memory>

namespace {

aiNode* jointNode(int joint, const CharacterRig& rig, const CharacterPose& rest) {
    aiNode* node = new aiNode(rig.joints[joint].name);
    const glm::vec3 t = rest.joints[joint].translation;
    aiMatrix4x4::Translation(aiVector3D(t.x, t.y, t.z), node->mTransformation);
    std::vector<aiNode*> children;
    for (int j = 0; j < JointCount; ++j)
        if (rig.joints[j].parent == joint)
            children.push_back(jointNode(j, rig, rest));
    if (!children.empty())
        node->addChildren(unsigned(children.size()), children.data());
    return node;
}

aiMaterial* skinMaterial(const std::string& texturePath) {
    aiMaterial* material = new aiMaterial();
    const aiString name("WendrelSkin");
    material->AddProperty(&name, AI_MATKEY_NAME);
    const aiColor3D diffuse(0.8f, 0.8f, 0.8f);
    material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    const aiColor3D specular(0.15f, 0.15f, 0.15f);
    material->AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
    const aiString path(texturePath);
    material->AddProperty(&path, AI_MATKEY_TEXTURE_DIFFUSE(0));
    material->AddProperty(&path, AI_MATKEY_TEXTURE_SPECULAR(0));
    return material;
}

aiMesh* skinnedMesh(const CharacterMesh& source, const std::string& meshName) {
    aiMesh* mesh = new aiMesh();
    mesh->mName = meshName;
    mesh->mMaterialIndex = 0;
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    const unsigned count = unsigned(source.vertices.size());
    mesh->mNumVertices = count;
    mesh->mVertices = new aiVector3D[count];
    mesh->mNormals = new aiVector3D[count];
    mesh->mTextureCoords[0] = new aiVector3D[count];
    mesh->mNumUVComponents[0] = 2;
    for (unsigned i = 0; i < count; ++i) {
        const SkinnedVertex& v = source.vertices[i];
        mesh->mVertices[i] = aiVector3D(v.position.x, v.position.y, v.position.z);
        mesh->mNormals[i] = aiVector3D(v.normal.x, v.normal.y, v.normal.z);
        mesh->mTextureCoords[0][i] = aiVector3D(v.uv.x, v.uv.y, 0.0f);
    }
    mesh->mNumFaces = unsigned(source.indices.size() / 3);
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        mesh->mFaces[f].mNumIndices = 3;
        mesh->mFaces[f].mIndices =
            new unsigned[3]{source.indices[3 * f], source.indices[3 * f + 1], source.indices[3 * f + 2]};
    }

    const CharacterRig& rig = characterRig();
    std::vector<std::vector<aiVertexWeight>> weights(JointCount);
    for (unsigned i = 0; i < count; ++i)
        for (int k = 0; k < 4; ++k)
            if (source.vertices[i].weights[k] > 0.0f)
                weights[source.vertices[i].joints[k]].emplace_back(i, source.vertices[i].weights[k]);
    std::vector<aiBone*> bones;
    for (int j = 0; j < JointCount; ++j) {
        if (weights[j].empty())
            continue;
        aiBone* bone = new aiBone();
        bone->mName = rig.joints[j].name;
        const glm::vec3 p = rig.joints[j].restPos;
        aiMatrix4x4::Translation(aiVector3D(-p.x, -p.y, -p.z), bone->mOffsetMatrix);
        bone->mNumWeights = unsigned(weights[j].size());
        bone->mWeights = new aiVertexWeight[bone->mNumWeights];
        std::copy(weights[j].begin(), weights[j].end(), bone->mWeights);
        bones.push_back(bone);
    }
    mesh->mNumBones = unsigned(bones.size());
    mesh->mBones = new aiBone*[bones.size()];
    std::copy(bones.begin(), bones.end(), mesh->mBones);
    return mesh;
}

// Every joint gets a channel: rotation keys on the whole grid, translation keys only where the joint
// moves (the hips); scaling keys are left out because this exporter names their curve wrongly.
aiAnimation* clipAnimation(const CharacterClip& clip) {
    const CharacterRig& rig = characterRig();
    aiAnimation* animation = new aiAnimation();
    animation->mName = clip.name;
    animation->mTicksPerSecond = 1.0;
    animation->mDuration = double(clip.durationSeconds);
    animation->mNumChannels = JointCount;
    animation->mChannels = new aiNodeAnim*[JointCount];
    const unsigned keyCount = unsigned(clip.keys.size());
    for (int j = 0; j < JointCount; ++j) {
        aiNodeAnim* channel = new aiNodeAnim();
        channel->mNodeName = rig.joints[j].name;
        const bool moves = j == Hips;
        channel->mNumPositionKeys = moves ? keyCount : 2;
        channel->mPositionKeys = new aiVectorKey[channel->mNumPositionKeys];
        for (unsigned k = 0; k < channel->mNumPositionKeys; ++k) {
            const unsigned source = moves ? k : k * (keyCount - 1);
            const glm::vec3 t = clip.keys[source].joints[j].translation;
            channel->mPositionKeys[k] =
                aiVectorKey(double(source) / clip.keysPerSecond, aiVector3D(t.x, t.y, t.z));
        }
        channel->mNumRotationKeys = keyCount;
        channel->mRotationKeys = new aiQuatKey[keyCount];
        for (unsigned k = 0; k < keyCount; ++k) {
            const glm::quat q = clip.keys[k].joints[j].rotation;
            channel->mRotationKeys[k] =
                aiQuatKey(double(k) / clip.keysPerSecond, aiQuaternion(q.w, q.x, q.y, q.z));
        }
        animation->mChannels[j] = channel;
    }
    return animation;
}

// The exporter stamps the wall-clock time into the header; a fixed date keeps the file reproducible.
void fixCreationTime(std::string& text) {
    const std::string tag = "CreationTimeStamp:";
    const size_t start = text.find(tag);
    if (start == std::string::npos)
        return;
    const size_t open = text.find('{', start);
    const size_t close = text.find('}', open);
    if (open == std::string::npos || close == std::string::npos)
        return;
    const std::string fixed = "{\n\t\tVersion: 1000\n\t\tYear: 2024\n\t\tMonth: 1\n\t\tDay: 1\n\t\tHour: 0\n"
                              "\t\tMinute: 0\n\t\tSecond: 0\n\t\tMillisecond: 0\n\t";
    text.replace(open, close - open, fixed);
}

} // namespace

std::string characterFbxText(const CharacterMesh& mesh, const std::vector<CharacterClip>& clips,
                             const std::string& meshName, const std::string& texturePath,
                             std::string& error) {
    const CharacterRig& rig = characterRig();
    const CharacterPose rest = restPose();
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("RootNode");
    aiNode* meshNode = new aiNode(meshName);
    meshNode->mNumMeshes = 1;
    meshNode->mMeshes = new unsigned[1]{0};
    aiNode* top[2] = {meshNode, jointNode(Hips, rig, rest)};
    scene->mRootNode->addChildren(2, top);

    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial* [1] { skinMaterial(texturePath) };
    scene->mNumMeshes = 1;
    scene->mMeshes = new aiMesh* [1] { skinnedMesh(mesh, meshName) };
    scene->mNumAnimations = unsigned(clips.size());
    scene->mAnimations = new aiAnimation*[clips.size()];
    for (size_t i = 0; i < clips.size(); ++i)
        scene->mAnimations[i] = clipAnimation(clips[i]);

    Assimp::Exporter exporter;
    const aiExportDataBlob* blob = exporter.ExportToBlob(scene.get(), "fbxa");
    if (!blob) {
        error = std::string("Assimp's FBX exporter failed: ") + exporter.GetErrorString();
        return {};
    }
    std::string text(static_cast<const char*>(blob->data), blob->size);
    fixCreationTime(text);
    return text;
}
