#pragma once

#include <cstdint>

/// What a resolved node is, and so how the basket takes it.
enum class NodeSource : std::uint8_t {
    None,         ///< no node
    File,         ///< a file on disk
    ArchiveEntry, ///< an archive member, extracted (or to be extracted) into `folder`
    BasketGroup,  ///< a file of a grouped tree over the basket: the basket adds nothing
};
