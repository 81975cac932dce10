<!DOCTYPE html>
<html lang="en">
<head>
  <meta charset="utf-8">
  <meta name="viewport" content="width=device-width, initial-scale=1">
  <title>[@PAGE_TITLE] - [@SITE_NAME]</title>
  <link rel="stylesheet" href="[@ROOT_DIR]style.css">
</head>
<body>
  <header class="banner">
    <a class="brand" href="[@ROOT_DIR]index.html"><img src="[@ROOT_DIR]images/pentrak.gif" alt="" width="32" height="32"> [@SITE_NAME]</a>
  </header>
  <div class="layout">
    <nav class="menu">
      <p class="menu-title">Pages</p>
      <ul>
        <li>[@MENU*]</li>
      </ul>
    </nav>
    <main>
      <p class="section">[@SECTION]</p>
      <h1>[@$PAGE_TITLE]</h1>
[@BODY]
[@{NOTE]
      <aside class="note">[@NOTE]</aside>
[@}]
[@{NEXT_PAGE]
      <p class="next">Next: [@NEXT_PAGE]</p>
[@}{]
      <p class="next">This is the last page of the tour. <a href="[@ROOT_DIR]index.html">Back to the start</a></p>
[@}]
    </main>
  </div>
  <footer>[@FOOTER]</footer>
</body>
</html>
