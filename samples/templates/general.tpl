<!DOCTYPE html>
<html lang="en">
<head>
  <meta charset="utf-8">
  <title>[@TITLE] - [@SITE_NAME]</title>
</head>
<body>
  <table width="100%" cellpadding="0" cellspacing="0">
    <tr>
      <td><img src="images/pentrak.gif" width="32" height="32" alt=""><img src="images/space.gif" width="12" height="1" alt=""></td>
      <td width="100%"><strong>[@SITE_NAME]</strong></td>
    </tr>
  </table>
  <p><a href="index.html">Home</a> | <a href="partners.html">Partners</a></p>
  <h1>[@TITLE]</h1>
  [@BODY]
  <p>[@TOOLS]</p>
  <hr>
  <p><small>[@FOOTER]</small></p>
</body>
</html>
