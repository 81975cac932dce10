#include "settings/publish_destination.h"

#include <gtest/gtest.h>

#include "settings/project_file.h"
#include "settings/project_properties.h"

namespace pentrak {
namespace {

PublishDestination Sftp(std::string user, std::string host, int port, std::string folder) {
  PublishDestination d;
  d.method = kPublishBySftp;
  d.user = std::move(user);
  d.host = std::move(host);
  d.port = port;
  d.remote_folder = std::move(folder);
  return d;
}

PublishDestination Folder(std::string folder) {
  PublishDestination d;
  d.method = kPublishToFolder;
  d.folder = std::move(folder);
  return d;
}

TEST(PublishDestinationTest, AddressesAndFoldersOnTheCommandLine) {
  const struct {
    const char* text;
    PublishDestination destination;
    const char* written;  // as DestinationText gives it back
  } cases[] = {
      {"sftp://web@example.org/srv/www", Sftp("web", "example.org", 0, "/srv/www"),
       "sftp://web@example.org/srv/www"},
      {"SFTP://example.org:2222/~/public_html", Sftp("", "example.org", 2222, "public_html"),
       "sftp://example.org:2222/~/public_html"},
      {"sftp://deploy@[::1]:22/var/www/", Sftp("deploy", "::1", 22, "/var/www/"),
       "sftp://deploy@[::1]:22/var/www/"},
      {"sftp://me@host/~/", Sftp("me", "host", 0, ""), "sftp://me@host/~/"},
      {"/mnt/share/www", Folder("/mnt/share/www"), "/mnt/share/www"},
      {"  out/site  ", Folder("out/site"), "out/site"},
  };
  for (const auto& c : cases) {
    PublishDestination parsed;
    EXPECT_EQ(ParseDestination(c.text, parsed), "") << c.text;
    EXPECT_EQ(parsed, c.destination) << c.text;
    EXPECT_EQ(DestinationText(parsed), c.written) << c.text;
  }
}

TEST(PublishDestinationTest, WhatCannotBeADestinationSaysWhy) {
  const struct {
    const char* text;
    const char* problem;
  } cases[] = {
      {"", "Name a folder or an sftp:// address to publish to."},
      {"ftp://host/www",
       "Only a folder or an sftp:// address can be published to, not ftp://host/www."},
      {"sftp://host", "Name the folder on the server too: sftp://HOST/PATH (sftp://host)."},
      {"sftp://host:0/www", "The port of sftp://host:0/www must be a number from 1 to 65535."},
      {"sftp://host:22x/www", "The port of sftp://host:22x/www must be a number from 1 to 65535."},
      {"sftp://[::1/www", "The port of sftp://[::1/www must be a number from 1 to 65535."},
      {"sftp:///www", "Please enter the host name of the SFTP server."},
      {"sftp://a b@host/www", "The SFTP user name must not hold blanks, \"/\", \"@\" or \":\"."},
  };
  for (const auto& c : cases) {
    PublishDestination parsed;
    EXPECT_EQ(ParseDestination(c.text, parsed), c.problem) << c.text;
  }
}

TEST(PublishDestinationTest, ThePublishTabsFieldsAreCheckedOnConfirmation) {
  const std::string host_rule =
      "The SFTP host must be a host name or an address, without blanks, \"/\" or \"@\".";
  const std::string port_rule = "The SFTP port must be a number from 1 to 65535.";
  const struct {
    PublishSettings settings;
    std::string problem;  // "" when the settings pass
  } cases[] = {
      {{kPublishNowhere, "", "bad host", "x", "", "", ""}, ""},
      {{kPublishToFolder, "/mnt/www", "", "", "", "", ""}, ""},
      {{kPublishToFolder, "  ", "", "", "", "", ""},
       "Please enter the folder to publish the site to."},
      {{kPublishBySftp, "", "example.org", "", "", "/srv/www", ""}, ""},
      {{kPublishBySftp, "", "example.org", "65535", "web", "www", "/home/me/.ssh/site"}, ""},
      {{kPublishBySftp, "", "", "", "", "/srv/www", ""},
       "Please enter the host name of the SFTP server."},
      {{kPublishBySftp, "", "my host", "", "", "/srv/www", ""}, host_rule},
      {{kPublishBySftp, "", "host", "0", "", "/srv/www", ""}, port_rule},
      {{kPublishBySftp, "", "host", "65536", "", "/srv/www", ""}, port_rule},
      {{kPublishBySftp, "", "host", "", "web:1", "/srv/www", ""},
       "The SFTP user name must not hold blanks, \"/\", \"@\" or \":\"."},
      {{kPublishBySftp, "", "host", "", "", "", ""},
       "Please enter the folder on the SFTP server to publish the site to."},
      {{7, "", "", "", "", "", ""}, "Please choose where to publish the site."},
  };
  for (const auto& c : cases) {
    ProjectSettings working;
    SetNewProjectDefaults(working);
    working.publish = c.settings;
    std::optional<PropertiesFieldError> error = ValidateProjectProperties(working);
    EXPECT_EQ(error ? error->message : "", c.problem) << c.settings.host << c.settings.port;
    if (error) {
      EXPECT_EQ(error->tab, PropertiesTab::kPublish);
    }
  }
}

}  // namespace
}  // namespace pentrak
