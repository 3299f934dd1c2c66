// Starts the sample note site (note_site.py beside this file) on free ports for a test
// and stops it again.
#pragma once

#include <string>

class NoteSite {
 public:
  NoteSite();
  ~NoteSite();
  bool ok() const { return httpPort_ > 0; }
  std::string Http(const std::string& path) const;
  std::string Https(const std::string& path) const;
  std::string CertificateFile() const { return dir_ + "/site.crt"; }
  // The request lines and headers the site has seen so far.
  std::string Log() const;

 private:
  int pid_ = -1;
  int httpPort_ = 0;
  int httpsPort_ = 0;
  std::string dir_;
};
