#include "tests/engine/fakedriverhost.h"

namespace tavil::test {

engine::OperationParams defaultParams(engine::Tab tab)
{
    using engine::Tab;
    switch (tab) {
    case Tab::AddNum:
        return engine::AddNumParams{};
    case Tab::Kaku:
        return engine::ChangeKakuParams{};
    case Tab::Edit:
        return engine::FNameEditParams{};
    case Tab::Conv:
        return engine::FNameConvParams{};
    case Tab::TimeStamp:
        return engine::SetTimeStampParams{};
    case Tab::Attribute:
        return engine::SetAttributeParams{};
    case Tab::Import:
        return engine::FNameImportParams{};
    case Tab::Copy:
    case Tab::Other:
        break;
    }
    return engine::FNameCopyParams{};
}

} // namespace tavil::test
