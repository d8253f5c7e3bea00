// Names and key order of the buffer views.
#include "render/buffer_view_kind.hpp"

const BufferViewInfo bufferViews[bufferViewCount] = {
    {BufferView::lit, "lit", "lit picture"},
    {BufferView::albedo, "albedo", "albedo (diffuse texture)"},
    {BufferView::normals, "normals", "view-space normals"},
    {BufferView::positions, "positions", "view-space positions"},
    {BufferView::bakedLight, "baked-light", "baked light"},
    {BufferView::shadowTerm, "shadow", "stored shadow term"},
    {BufferView::rawOcclusion, "occlusion", "raw occlusion"},
    {BufferView::blurredOcclusion, "blurred-occlusion", "blurred occlusion"},
    {BufferView::depth, "depth", "linearised depth"},
    {BufferView::shadowMap, "shadow-map", "shadow map (the light's view)"},
};

const BufferViewInfo& bufferViewInfo(BufferView view) {
    return bufferViews[static_cast<int>(view)];
}

bool parseBufferView(const std::string& name, BufferView& view) {
    for (const BufferViewInfo& info : bufferViews)
        if (name == info.name) {
            view = info.view;
            return true;
        }
    return false;
}

std::string bufferViewNameList() {
    std::string list;
    for (int i = 0; i < bufferViewCount; ++i) {
        if (i > 0)
            list += i + 1 == bufferViewCount ? " or " : ", ";
        list += bufferViews[i].name;
    }
    return list;
}

bool bufferViewForDigit(int digit, BufferView& view) {
    if (digit < 0 || digit > 9)
        return false;
    // Keys run 1 ... 9 and then 0, as they lie on the keyboard.
    view = bufferViews[digit == 0 ? 9 : digit - 1].view;
    return true;
}

bool viewNeedsMaterial(BufferView view) {
    return view == BufferView::albedo || view == BufferView::bakedLight;
}
