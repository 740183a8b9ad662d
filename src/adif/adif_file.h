#pragma once
#include <string>
#include <string_view>
#include "adif/logged_contact.h"
bool AppendAdifRecord(const std::string& path, const LoggedContact& contact, std::string_view program_id, std::string& reason);
