#include "services/RowIconImages.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"

CRowIconImages::CRowIconImages(const CImageList& images) : m_images(images)
{
    m_queries.isExistingFolder = SystemIconQueries().isExistingFolder;
    m_queries.typeIcon = [this](const std::string& extension, std::string& file, int& index) {
        auto known = m_typeAnswers.find(extension);
        if (known == m_typeAnswers.end()) {
            TypeAnswer answer;
            answer.found = SystemIconQueries().typeIcon(extension, answer.file, answer.index);
            known = m_typeAnswers.emplace(extension, std::move(answer)).first;
        }
        file = known->second.file;
        index = known->second.index;
        return known->second.found;
    };
}

int CRowIconImages::ImageFor(const std::wstring& target)
{
    const IconChoice choice = ChooseTargetIcon(target, m_queries);
    const int image = ImageOf(choice.file, choice.index);
    if (image < 0 && !choice.fallbackFile.empty())
        return ImageOf(choice.fallbackFile, choice.fallbackIndex);
    return image;
}

int CRowIconImages::ImageOf(const std::string& file, int index)
{
    const auto key = std::make_pair(file, index);
    if (const auto known = m_imageByIcon.find(key); known != m_imageByIcon.end())
        return known->second;
    CIconHandle icon(ExtractChosenIcon(IconChoice{file, index, {}, 0}, m_images.GetIconSize()));
    const int image = icon ? m_images.Add(icon.Get()) : -1;
    m_imageByIcon.emplace(key, image);
    return image;
}
