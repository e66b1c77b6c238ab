#include "panel/help.h"

#include "panel/resources.h"
#include "panel/ui.h"
#include "platform/files.h"

namespace qx {

std::string write_help_file() {
    const ResourceEntry* help = find_resource("HELP_HTML", RES_TEXT);
    if (!help) return {};
    std::string error;
    const std::string folder = user_folder(UserFolder::Data, &error);
    if (folder.empty()) {
        show_box("The help file cannot be written: " + error, "Help");
        return {};
    }
    const std::string path = join_path(folder, "Quorix.htm");
    const std::string bytes(reinterpret_cast<const char*>(help->data), help->size);
    std::string present;
    if (read_file(path, present, 16u << 20) && present == bytes) return path;
    if (!replace_file(path, bytes, &error)) {
        show_box("The help file cannot be written: " + error, "Help");
        return {};
    }
    return path;
}

}  // namespace qx
