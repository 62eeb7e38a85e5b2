#pragma once
// The row icons of one fill of a list (My Commands, System Commands).
// Extracting an icon costs a load of the file it lives in, far more than
// reading the row, so the lists ask when a row is first drawn, and rows
// whose icon comes from the same file and index share one image, and each
// extension's registered icon is looked up once. Same icons as the rule
// gives row by row; only the repeated work goes.
#include "services/TargetIcon.h"
#include "framework/Controls.h"

#include <map>
#include <string>
#include <utility>

class CRowIconImages {
public:
    // Appends to this image list, icons at its size; the caller empties it
    // between loads.
    explicit CRowIconImages(const CImageList& images);
    CRowIconImages(const CRowIconImages&) = delete;
    CRowIconImages& operator=(const CRowIconImages&) = delete;

    // The image of the small icon the rule picks for the target; -1 for none.
    int ImageFor(const std::wstring& target);

private:
    int ImageOf(const std::string& file, int index);

    struct TypeAnswer {
        bool found = false;
        std::string file;
        int index = 0;
    };

    const CImageList& m_images;
    IconQueries m_queries;
    std::map<std::pair<std::string, int>, int> m_imageByIcon;
    std::map<std::string, TypeAnswer> m_typeAnswers;
};
