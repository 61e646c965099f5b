#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <vector>

/// The resource directory of a Windows program or library (a PE image): which
/// resources of a type it holds and their bytes. A damaged or non-PE image simply
/// holds nothing; no read ever goes past the end of the image.
class PeResources {
public:
    static constexpr quint32 Icon = 3;       ///< RT_ICON: one image of an icon
    static constexpr quint32 GroupIcon = 14; ///< RT_GROUP_ICON: an icon's list of images
    static constexpr quint32 Version = 16;   ///< RT_VERSION

    /// One resource, in the language that comes first in the directory.
    struct Entry {
        quint32 id = 0;    ///< 0 for a resource known by name
        qint64 offset = 0; ///< file offset of its bytes
        quint32 size = 0;  ///< byte count, cut at the end of the image
    };

    /// Reads the headers; `image` must outlive this object.
    explicit PeResources(const QByteArray& image);

    /// True when the image is a PE file with a resource directory.
    [[nodiscard]] bool valid() const { return root_.has_value(); }
    /// The resources of `type` in directory order (named ones before numbered ones).
    [[nodiscard]] QList<Entry> entries(quint32 type) const;
    /// The bytes of resource `id` of `type`; nothing when absent.
    [[nodiscard]] std::optional<QByteArray> data(quint32 type, quint32 id) const;

private:
    struct Section {
        quint32 virtualAddress;
        quint32 virtualSize;
        quint32 rawSize;
        quint32 rawOffset;
    };
    struct DirectoryEntry {
        quint32 name;
        quint32 target;
    };

    [[nodiscard]] std::optional<quint16> u16(qint64 at) const;
    [[nodiscard]] std::optional<quint32> u32(qint64 at) const;
    [[nodiscard]] std::optional<qint64> offsetOfRva(quint32 rva) const;
    [[nodiscard]] std::vector<DirectoryEntry> directory(qint64 at) const;
    [[nodiscard]] std::optional<Entry> leaf(quint32 id, quint32 target) const;

    const QByteArray& image_;
    std::vector<Section> sections_;
    std::optional<qint64> root_;
};
